#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

// The captions of a language file as text: UTF-8 when the file is valid UTF-8, else Windows-1250,
// so that files written on this platform and older files both read right. Nothing when the file
// cannot be read. Any thread.
std::optional<QStringList> ReadCaptions(const QString& path, int count);

// Captions of a language file from line `first` (counting from 0) on, one for each built-in
// text: a caption the file does not have (or a file that cannot be read, or an empty path) keeps
// its built-in text. For captions added after the files of earlier versions were written.
QStringList ReadCaptionsOver(const QString& path, int first, const QStringList& builtIn);

// Between the models' UTF-8 captions and the window's text.
QStringList Captions(const std::vector<std::string>& utf8);
std::vector<std::string> Utf8Captions(const QStringList& captions);
