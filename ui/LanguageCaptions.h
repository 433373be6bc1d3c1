#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The captions of a language file as text: UTF-8 when the file is valid UTF-8, else Windows-1250,
// so that files written on this platform and older files both read right. Nothing when the file
// cannot be read.
std::optional<QStringList> ReadCaptions(const QString& path, int count);
