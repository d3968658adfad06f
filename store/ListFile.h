#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The text encodings the wrong-answer list file may come in. Ansi is the
// system's ANSI code page (store/CodePage.h) without a byte-order mark; the
// others carry their mark.
enum class TListEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// The encoding of the last list file read in this run; starts as Ansi.
// SaveListFile writes in it, so a file keeps its encoding.
extern TListEncoding LastListEncoding;

// Reads the whole file and returns its text with every line break (CR LF,
// lone CR, lone LF) as CR LF. The encoding comes from the byte-order mark
// (UTF-8, UTF-16LE, UTF-16BE), else the ANSI code page; it is kept in
// LastListEncoding. Raises "Cannot open file "<path>". <reason>".
QString LoadListFile(const QString& path);

// Writes the mark of LastListEncoding (none for Ansi) and the text in that
// encoding, replacing the file whole. Raises
// "Cannot create file "<path>". <reason>".
void SaveListFile(const QString& path, const QString& text);

// The same two conversions without the disk. DecodeListFile finds the
// encoding from the mark and returns the text after it with every line break
// as CR LF; EncodeListFile gives the mark and the text in that encoding.
QString DecodeListFile(QByteArrayView bytes, TListEncoding& encoding);
QByteArray EncodeListFile(const QString& text, TListEncoding encoding);
