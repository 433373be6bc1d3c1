#include "ui/LanguageCaptions.h"

#include <QByteArrayView>
#include <QUtf8StringView>

#include "config/LanguageFile.h"
#include "ui/Cp1250.h"

std::optional<QStringList> ReadCaptions(const QString& path, int count) {
    const auto lines =
        ReadLanguageFile(path.toStdString(), static_cast<std::size_t>(count < 0 ? 0 : count));
    if (!lines) {
        return std::nullopt;
    }
    const auto view = [](const std::string& line) {
        return QByteArrayView(line.data(), static_cast<qsizetype>(line.size()));
    };
    bool utf8 = true;
    for (const std::string& line : *lines) {
        utf8 = utf8 && view(line).isValidUtf8();
    }
    QStringList captions;
    for (const std::string& line : *lines) {
        captions << (utf8 ? QString::fromUtf8(view(line)) : FromCp1250(line));
    }
    return captions;
}
