#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace platform {

// The images of an icon group read from .ico bytes: palette images of 1, 4 or 8 bits and direct
// colour of 24 or 32 bits, each with its AND mask as transparency, and PNG-compressed entries.
// It does its own decoding so that it works without Qt's ico plugin.
class IconImage final {
  public:
    static std::optional<IconImage> parse(std::span<const unsigned char> icoBytes);

    // 32-bit ARGB images in the order the file lists them.
    const std::vector<QImage>& images() const { return m_images; }
    // The image of that size, else the nearest larger one (or the largest) scaled to it.
    QImage image(int size) const;
    // Needs a QGuiApplication, as every pixmap does.
    QIcon icon() const;
    bool savePng(const QString& path, int size) const;

  private:
    static std::optional<QImage> decode(std::span<const unsigned char> data);
    static std::optional<QImage> decodeBitmap(std::span<const unsigned char> data);

    std::vector<QImage> m_images;
};

} // namespace platform
