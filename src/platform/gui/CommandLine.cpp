#include "platform/gui/CommandLine.h"

#include "platform/gui/QtText.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <vector>

namespace platform {

namespace {

struct OperationOption {
    const char* name;
    const char* description;
    StartRequest::Operation operation;
};

constexpr std::array operationOptions{
    OperationOption{"split-by-size", "Open Split By Size (with FILE).",
                    StartRequest::Operation::splitBySize},
    OperationOption{"split-by-number", "Open Split By Number (with FILE).",
                    StartRequest::Operation::splitByNumber},
    OperationOption{"split-to-removable",
                    "Open Split To Floppies (with FILE), which writes to removable media.",
                    StartRequest::Operation::splitToRemovable},
    OperationOption{"join", "Open Join Split Segments (with FILE, the first segment of a set).",
                    StartRequest::Operation::join},
};

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.data(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

// The bytes of the argument as it was given: a name need not be valid UTF-8.
std::string rawArgument(int argc, char** argv, const QString& decoded) {
    for (int i = 1; i < argc; ++i) {
        if (QString::fromLocal8Bit(argv[i]) == decoded)
            return argv[i];
    }
    return QtText::toBytes(decoded);
}

std::string absolute(const std::string& name) {
    if (name.empty() || name.front() == '/')
        return name;
    std::vector<char> directory(4096);
    while (getcwd(directory.data(), directory.size()) == nullptr) {
        if (directory.size() > (1u << 20))
            return name;
        directory.resize(directory.size() * 2);
    }
    return std::string(directory.data()) + "/" + name;
}

} // namespace

CommandLine::CommandLine(int argc, char** argv, const About& about) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QtText::fromBytes(about.summary));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    parser.addOption(help);
    parser.addOption(version);
    for (const OperationOption& option : operationOptions)
        parser.addOption(
            {QString::fromLatin1(option.name), QString::fromLatin1(option.description)});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The file to open. Without an option a name that ends in 1 opens Join Split "
                       "Segments, any other name Split By Size. Nothing runs until you press the "
                       "dialog's button."),
        QStringLiteral("[FILE]"));

    const QString name = QtText::fromBytes(about.name);
    auto refuse = [&](const QString& why) {
        print(stderr, name + QStringLiteral(": ") + why + QStringLiteral("\nTry '") + name +
                          QStringLiteral(" --help' for more information.\n"));
        m_exitStatus = usageError;
    };
    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
        return;
    }
    if (parser.isSet(help)) {
        // The usage line names the program as it is called, like every other text of it.
        QString text = parser.helpText();
        text.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                     QStringLiteral("Usage: ") + name);
        print(stdout, text);
        m_exitStatus = 0;
        return;
    }
    if (parser.isSet(version)) {
        print(stdout,
              name + QLatin1Char(' ') + QtText::fromBytes(about.version) + QLatin1Char('\n'));
        m_exitStatus = 0;
        return;
    }

    std::vector<StartRequest::Operation> named;
    for (const OperationOption& option : operationOptions) {
        if (parser.isSet(QString::fromLatin1(option.name)))
            named.push_back(option.operation);
    }
    const QStringList files = parser.positionalArguments();
    if (named.size() > 1) {
        refuse(QStringLiteral("name one operation only."));
        return;
    }
    if (files.size() > 1) {
        refuse(QStringLiteral("give one file only."));
        return;
    }
    if (!named.empty())
        m_request.operation = named.front();
    else if (!files.isEmpty())
        m_request.operation = StartRequest::Operation::fitting;
    if (!files.isEmpty())
        m_request.file = absolute(rawArgument(argc, argv, files.front()));
}

} // namespace platform
