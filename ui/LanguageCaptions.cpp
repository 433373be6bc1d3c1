#include "ui/LanguageCaptions.h"

#include <QByteArrayView>
#include <QUtf8StringView>

#include "print/Cp1250.h"
#include "session/CaptionLines.h"

namespace {

QStringList Decoded(const std::vector<std::string>& lines) {
    const auto view = [](const std::string& line) {
        return QByteArrayView(line.data(), static_cast<qsizetype>(line.size()));
    };
    bool utf8 = true;
    for (const std::string& line : lines) {
        utf8 = utf8 && view(line).isValidUtf8();
    }
    QStringList captions;
    for (const std::string& line : lines) {
        captions << (utf8 ? QString::fromUtf8(view(line)) : FromCp1250(line));
    }
    return captions;
}

}  // namespace

std::optional<QStringList> ReadCaptions(const QString& path, int count) {
    const auto lines = ReadCaptionLines(path.toStdString(), count);
    if (!lines) {
        return std::nullopt;
    }
    return Decoded(*lines);
}

QStringList ReadCaptionsOver(const QString& path, int first, const QStringList& builtIn) {
    QStringList captions = builtIn;
    const std::vector<std::optional<std::string>> present =
        ReadPresentCaptionLines(path.toStdString(), first, static_cast<int>(builtIn.size()));
    std::vector<std::string> lines;
    for (const std::optional<std::string>& line : present) {
        if (line) {
            lines.push_back(*line);
        }
    }
    const QStringList decoded = Decoded(lines);
    qsizetype next = 0;
    for (std::size_t k = 0; k < present.size(); ++k) {
        if (present[k]) {
            captions[static_cast<qsizetype>(k)] = decoded[next++];
        }
    }
    return captions;
}

QStringList Captions(const std::vector<std::string>& utf8) {
    QStringList captions;
    for (const std::string& caption : utf8) {
        captions << QString::fromStdString(caption);
    }
    return captions;
}

std::vector<std::string> Utf8Captions(const QStringList& captions) {
    std::vector<std::string> utf8;
    for (const QString& caption : captions) {
        utf8.push_back(caption.toStdString());
    }
    return utf8;
}
