#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Text in the system's ANSI code page, the encoding of the settings file and
// of a list file without a byte-order mark: on Windows the code page GetACP
// names (windows-1250 on Czech systems), elsewhere windows-1250. Characters
// the code page lacks are written as its substitute character.
// Each function throws EZirmonError where the code page cannot be converted.

// The code page's name, as "windows-1250".
QString AnsiCodePageName();

QString AnsiDecode(QByteArrayView bytes);
QByteArray AnsiEncode(QStringView text);

// True when the code page holds every character of text, so that it reads
// back as it was written.
bool AnsiHolds(QStringView text);
