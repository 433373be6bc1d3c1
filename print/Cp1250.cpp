#include "print/Cp1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char kUnrepresentable = 0x7F;

}  // namespace

QString FromCp1250(const std::string& bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString FromCp1250(char byte) {
    return FromCp1250(std::string(1, byte));
}

std::string ToCp1250(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
        const QByteArray encoded = encoder.encode(text.mid(i, length));
        if (encoder.hasError() || encoded.size() != 1) {
            bytes.push_back(kUnrepresentable);
        } else {
            bytes.push_back(encoded.at(0));
        }
        i += length - 1;
    }
    return bytes;
}
