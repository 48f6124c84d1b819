#pragma once

#include <QString>

#include <string>

namespace platform {

// The program's text is UTF-8 bytes; Qt's is QString.
class QtText final {
  public:
    static QString fromBytes(const std::string& text) {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    static std::string toBytes(const QString& text) { return text.toUtf8().toStdString(); }
};

} // namespace platform
