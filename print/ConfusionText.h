#pragma once

#include <QString>
#include <vector>

#include "training/CCopyCheck.h"

// The line of confusions a check or the statistics show: `heading`, a space, then at most `limit`
// confusions in `pairFormat` ("%1" sent, "%2" copied, "%3" how often) joined by "; ", or `none`.
// User-interface thread.
QString FormatConfusions(const std::vector<CCopyCheck::Confusion>& confusions, int limit,
                         const QString& heading, const QString& pairFormat, const QString& none);
