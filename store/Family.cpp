#include "store/Family.h"

#include "store/DataDir.h"
#include "store/Errors.h"
#include "store/ProfileFile.h"
#include "store/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <utility>

namespace {

constexpr int MaxNotes = 8;         // lines of Ignored before a count of the rest
constexpr int MaxFolder = 1000000;  // a larger folder number is no folder of ours
constexpr qsizetype MaxLine = 4096; // longer lines are not decoded

// The keys a further child's file does not hold: they stay in the data
// folder's own zirmon.ini, whoever practises.
const char* const FamilyKeys[][2] = {
    {"PASSWD", "USRPASSWD"}, {"joheslo", "hsl"}, {"Ploha", "X"}, {"Ploha", "y"}};

bool SameText(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Two names a child could not tell apart on the buttons: the same letters
// in another case, composed otherwise (é as one character or as e and an
// accent) or with other blanks between them.
// A name as typed, as it is kept: composed (NFC), without blanks at its ends,
// one space between its words.
QString CleanName(const QString& typed) {
    return typed.normalized(QString::NormalizationForm_C).simplified();
}

bool SameName(const QString& a, const QString& b) {
    return CleanName(a).toCaseFolded() == CleanName(b).toCaseFolded();
}

// What is wrong with the characters of a trimmed name, or nothing. Format
// characters are refused with the controls: a right-to-left override turns
// the name round, and a zero-width space makes a twin that looks the same.
QString CharacterFault(const QString& name) {
    const QList<uint> points = name.toUcs4();
    if (points.isEmpty())
        return QStringLiteral("Jméno dítěte nesmí být prázdné.");
    if (points.size() > MaxNameLength)
        return QStringLiteral("Jméno dítěte může mít nejvýše %1 znaků.").arg(MaxNameLength);
    for (const uint c : points) {
        const QChar::Category kind = QChar::category(char32_t(c));
        if (kind == QChar::Other_Control || kind == QChar::Other_Format ||
            kind == QChar::Other_Surrogate || kind == QChar::Other_PrivateUse ||
            kind == QChar::Other_NotAssigned || c == 0xfffd || c == 0x2028 || c == 0x2029)
            return QStringLiteral("Jméno dítěte smí obsahovat jen písmena, číslice, mezery "
                                  "a obvyklá znaménka.");
    }
    return QString();
}

QString DuplicateFault(const QList<TChild>& children, const QString& name, int index) {
    for (int i = 0; i < children.size(); ++i) {
        if (i != index && SameName(children[i].Name, name))
            return QStringLiteral("Dítě se jménem %1 už v seznamu je.").arg(children[i].Name);
    }
    return QString();
}

QString Trimmed(QString folder) {
    while (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        folder.chop(1);
    return folder;
}

[[noreturn]] void ThrowMoveError(const QString& from, const QString& to) {
    throw EZirmonError(QStringLiteral("Unable to move %1 to %2").arg(from, to));
}

[[noreturn]] void ThrowWriteError(const QString& path) {
    throw EZirmonError(QStringLiteral("Unable to write to %1").arg(path));
}

// Moves a file when it is there.
void MoveFile(const QString& from, const QString& to) {
    if (!QFileInfo(from).exists() && !QFileInfo(from).isSymLink())
        return;
    if (!QDir().rename(from, to))
        ThrowMoveError(from, to);
}

// A child's files besides its settings: the list of wrong answers and the
// journal of every judged answer.
const QLatin1String OwnFiles[] = {QLatin1String("priklad.dat"), QLatin1String("denik.csv")};

// The data folder's own files, those of the child in it, go aside to
// dest; the heir's files come in their place, under the family's keys.
void PromoteHeir(const TChild& heir, const QString& dest) {
    const QString data = DataDirPath();
    const QString heirDir = ChildDirPath(heir.Folder);
    const TFileRead own = ReadWholeFile(data + QLatin1String("zirmon.ini"));
    const TFileRead theirs = ReadWholeFile(heirDir + QLatin1String("zirmon.ini"));
    if ((!own.Ok && !own.Missing) || (!theirs.Ok && !theirs.Missing))
        throw EZirmonError(
            QStringLiteral("Unable to read %1").arg(own.Ok || own.Missing ? heirDir : data));
    if (own.Ok && !ReplaceWholeFile(dest + QLatin1String("zirmon.ini"), own.Bytes, true).isEmpty())
        ThrowWriteError(dest + QLatin1String("zirmon.ini"));
    for (const QLatin1String name : OwnFiles)
        MoveFile(data + name, dest + name);
    QByteArray bytes = theirs.Bytes;
    for (const auto& [sectionName, keyName] : FamilyKeys) {
        const QString section = QString::fromLatin1(sectionName);
        const QString key = QString::fromLatin1(keyName);
        if (const auto value = ProfileValue(own.Bytes, section, key))
            bytes = ProfileWithValue(bytes, section, key, *value);
    }
    if (own.Ok || theirs.Ok) {
        if (!ReplaceWholeFile(data + QLatin1String("zirmon.ini"), bytes, true).isEmpty())
            ThrowWriteError(data + QLatin1String("zirmon.ini"));
    }
    for (const QLatin1String name : OwnFiles)
        MoveFile(heirDir + name, data + name);
    // Its settings are in the data folder now; anything else stays there.
    QFile::remove(heirDir + QLatin1String("zirmon.ini"));
    QDir().rmdir(Trimmed(heirDir));
}

} // namespace

TFamilyRead ParseFamily(QByteArrayView bytes) {
    TFamilyRead read;
    int more = 0;
    auto ignore = [&](qsizetype line, const QString& why) {
        if (read.Ignored.size() < MaxNotes)
            read.Ignored << QStringLiteral("řádek %1: %2").arg(line).arg(why);
        else
            ++more;
    };
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes = bytes.sliced(3);
    bool inFamily = true;
    int lastFolder = -1;
    bool nextSeen = false;
    qsizetype number = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView raw = bytes.sliced(start, end - start);
        start = end + 1;
        ++number;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.size() > MaxLine) {
            ignore(number, QStringLiteral("příliš dlouhý řádek"));
            continue;
        }
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = QString(decoder(raw)).trimmed();
        if (decoder.hasError()) {
            ignore(number, QStringLiteral("neplatné znaky"));
            continue;
        }
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            inFamily = SameText(line, QStringLiteral("[Rodina]"));
            if (!inFamily)
                ignore(number, QStringLiteral("neznámý oddíl a jeho řádky"));
            continue;
        }
        if (!inFamily)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.left(std::max<qsizetype>(equals, 0)).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        bool ok = false;
        if (equals > 0 && SameText(key, QStringLiteral("dalsi"))) {
            const int next = value.toInt(&ok);
            if (ok && !nextSeen && next >= 2 && next <= MaxFolder + 1)
                read.NextFolder = next;
            else
                ignore(number, QStringLiteral("neplatné číslo další složky"));
            nextSeen = true;
        } else if (equals > 0 && SameText(key, QStringLiteral("posledni"))) {
            const int folder = value.toInt(&ok);
            if (ok && lastFolder < 0 && folder >= 0)
                lastFolder = folder;
            else
                ignore(number, QStringLiteral("neplatný údaj, kdo počítal naposledy"));
        } else if (equals > 0 && SameText(key, QStringLiteral("dite"))) {
            const qsizetype blank = value.indexOf(u' ');
            const int folder = value.left(std::max<qsizetype>(blank, 0)).toInt(&ok);
            const QString name = value.mid(blank + 1).trimmed();
            bool taken = false;
            for (const TChild& child : std::as_const(read.Children))
                taken = taken || child.Folder == folder;
            if (blank <= 0 || !ok || folder < 0 || folder == 1 || folder > MaxFolder || taken)
                ignore(number, QStringLiteral("neplatné nebo opakované číslo složky"));
            else if (const QString fault = CharacterFault(name); !fault.isEmpty())
                ignore(number, fault);
            else if (const QString twice = DuplicateFault(read.Children, name, -1);
                     !twice.isEmpty())
                ignore(number, twice);
            else if (read.Children.size() >= MaxChildren)
                ignore(number, QStringLiteral("dětí může být nejvýše devět"));
            else
                read.Children.append({name, folder});
        } else {
            ignore(number, QStringLiteral("neznámý údaj"));
        }
    }
    if (more > 0)
        read.Ignored << QStringLiteral("… a dalších %1 řádků").arg(more);

    // The data folder's own files always belong to a child of the family.
    bool home = false;
    for (const TChild& child : std::as_const(read.Children))
        home = home || child.Folder == 0;
    if (!read.Children.isEmpty() && !home) {
        QString name = QStringLiteral("Dítě");
        for (int n = 2; !DuplicateFault(read.Children, name, -1).isEmpty(); ++n)
            name = QStringLiteral("Dítě %1").arg(n);
        read.Children.prepend({name, 0});
        read.Ignored << QStringLiteral("soubory v datové složce nepatřily žádnému dítěti: "
                                       "patří teď dítěti %1")
                            .arg(name);
        if (read.Children.size() > MaxChildren) {
            read.Ignored << QStringLiteral("dítě %1: dětí může být nejvýše devět")
                                .arg(read.Children.takeLast().Name);
        }
    }
    for (int i = 0; i < read.Children.size(); ++i) {
        read.NextFolder = std::max(read.NextFolder, read.Children[i].Folder + 1);
        if (read.Children[i].Folder == lastFolder)
            read.Last = i;
    }
    return read;
}

QByteArray FamilyBytes(const QList<TChild>& children, int last, int nextFolder) {
    QByteArray bytes = "[Rodina]\r\ndalsi=" + QByteArray::number(nextFolder) +
                       "\r\nposledni=" + QByteArray::number(children.value(last).Folder) + "\r\n";
    for (const TChild& child : children)
        bytes += "dite=" + QByteArray::number(child.Folder) + ' ' + child.Name.toUtf8() + "\r\n";
    return bytes;
}

void LoadFamily() {
    PracticeState.Children.clear();
    PracticeState.Child = 0;
    PracticeState.NextFolder = 2;
    PracticeState.FamilyIgnored.clear();
    const QString path = GetFamilyPath();
    const TFileRead file = ReadWholeFile(path);
    if (file.Missing)
        return;
    if (!file.Ok) {
        PracticeState.FamilyIgnored << QStringLiteral("soubor nelze přečíst (%1)").arg(file.Reason);
        return;
    }
    TFamilyRead read = ParseFamily(file.Bytes);
    for (const TChild& child : std::as_const(read.Children)) {
        if (child.Folder != 0 && !QFileInfo(ChildDirPath(child.Folder)).isDir())
            read.Ignored << QStringLiteral("složka dítěte %1 chybí: začne s prázdnými počty")
                                .arg(child.Name);
    }
    PracticeState.Children = read.Children;
    PracticeState.Child = read.Last;
    PracticeState.NextFolder = read.NextFolder;
    PracticeState.FamilyIgnored = read.Ignored;
}

void SaveFamily() {
    const QString path = GetFamilyPath();
    if (PracticeState.Children.isEmpty()) {
        if (QFileInfo(path).exists() && !QFile::remove(path) &&
            !ReplaceWholeFile(path, QByteArray(), false).isEmpty())
            ThrowWriteError(path);
        return;
    }
    const QByteArray bytes =
        FamilyBytes(PracticeState.Children, PracticeState.Child, PracticeState.NextFolder);
    if (!ReplaceWholeFile(path, bytes, false).isEmpty())
        ThrowWriteError(path);
}

QString NameFault(const QString& name, int index) {
    const QString trimmed = CleanName(name);
    QString fault = CharacterFault(trimmed);
    if (fault.isEmpty())
        fault = DuplicateFault(PracticeState.Children, trimmed, index);
    if (fault.isEmpty() && index < 0 && PracticeState.Children.size() >= MaxChildren)
        fault = QStringLiteral("Dětí může být nejvýše %1.").arg(MaxChildren);
    return fault;
}

namespace {

// Runs a change of the family and saves it; a failure leaves the family as
// it was in memory.
template <typename Change> void ChangeFamily(Change change) {
    const TPracticeState before = PracticeState;
    try {
        change();
        SaveFamily();
    } catch (...) {
        PracticeState.Children = before.Children;
        PracticeState.Child = before.Child;
        PracticeState.NextFolder = before.NextFolder;
        throw;
    }
}

QString RemovedPath(int number) {
    return ChildDirPath(0) + QStringLiteral("deti") + QDir::separator() +
           QStringLiteral("odebrane") + QDir::separator() + QString::number(number) +
           QDir::separator();
}

// Moves NextFolder past numbers whose folders are there already (left by
// a family file that was removed or edited), so no two children's files
// ever share a folder.
void SkipUsedFolders() {
    int& next = PracticeState.NextFolder;
    while (next <= MaxFolder && (QFileInfo::exists(Trimmed(ChildDirPath(next))) ||
                                 QFileInfo::exists(Trimmed(RemovedPath(next)))))
        ++next;
}

} // namespace

void AddChild(const QString& name) {
    if (const QString fault = NameFault(name, -1); !fault.isEmpty())
        throw EZirmonError(fault);
    ChangeFamily([&name] {
        TChild child{CleanName(name), 0};
        if (!PracticeState.Children.isEmpty()) {
            SkipUsedFolders();
            child.Folder = PracticeState.NextFolder++;
            if (!QDir().mkpath(ChildDirPath(child.Folder)))
                ThrowWriteError(ChildDirPath(child.Folder));
        }
        PracticeState.Children.append(child);
    });
}

void RenameChild(int index, const QString& name) {
    if (const QString fault = NameFault(name, index); !fault.isEmpty())
        throw EZirmonError(fault);
    ChangeFamily([&] { PracticeState.Children[index].Name = CleanName(name); });
}

QString RemovedFolderPath() {
    SkipUsedFolders();
    return RemovedPath(PracticeState.NextFolder);
}

void RemoveChild(int index) {
    QList<TChild>& children = PracticeState.Children;
    if (children.size() == 1) {
        // The only named child: its files are the data folder's and stay.
        ChangeFamily([] { PracticeState.Children.clear(); });
        return;
    }
    const QString dest = RemovedFolderPath();
    if (!QDir().mkpath(QFileInfo(Trimmed(dest)).path()))
        ThrowWriteError(dest);
    const TChild gone = children[index];
    if (gone.Folder != 0) {
        const QString from = Trimmed(ChildDirPath(gone.Folder));
        if (QFileInfo(from).exists() && !QDir().rename(from, Trimmed(dest)))
            ThrowMoveError(from, dest);
    } else {
        const int heir = index == 0 ? 1 : 0;
        if (!QDir().mkpath(dest))
            ThrowWriteError(dest);
        PromoteHeir(children[heir], dest);
        children[heir].Folder = 0;
    }
    ChangeFamily([index] {
        PracticeState.Children.removeAt(index);
        ++PracticeState.NextFolder;
        if (index < PracticeState.Child)
            --PracticeState.Child;
        else if (index == PracticeState.Child)
            PracticeState.Child = 0;
        if (PracticeState.Children.size() == 1) {
            PracticeState.Children.clear();
            PracticeState.Child = 0;
        }
    });
}
