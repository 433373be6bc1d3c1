#include "print/ConfusionText.h"

#include <QStringList>

#include "print/Cp1250.h"

QString FormatConfusions(const std::vector<CCopyCheck::Confusion>& confusions, int limit,
                         const QString& heading, const QString& pairFormat, const QString& none) {
    QStringList pairs;
    for (const CCopyCheck::Confusion& confusion : confusions) {
        if (pairs.size() == limit) {
            break;
        }
        pairs << pairFormat.arg(FromCp1250(confusion.sent), FromCp1250(confusion.copied))
                     .arg(confusion.count);
    }
    return heading + QLatin1Char(' ') + (pairs.isEmpty() ? none : pairs.join(QStringLiteral("; ")));
}
