#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "session/MainCaptions.h"

// The built-in Czech texts of `targets`, in their order.
template <std::size_t N>
QStringList BuiltInCaptions(const std::array<CaptionTarget, N>& targets) {
    QStringList texts;
    for (const CaptionTarget& target : targets) {
        texts << QString::fromUtf8(target.czech);
    }
    return texts;
}
