// The family file "rodina.ini": reading any bytes. Properties: no crash; at
// most nine children with valid names (1 to 30 characters, no control
// characters, none twice regardless of case) and distinct folders, exactly
// one of them in the data folder itself; the last one is one of them; the
// next folder number is above every folder; what was ignored fits in a few
// lines; writing what was read and reading it again gives the same family
// and ignores nothing.
#include "FuzzSupport.h"
#include "store/Family.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TFamilyRead read = ParseFamily(bytes);
    FUZZ_REQUIRE(read.Children.size() <= MaxChildren);
    FUZZ_REQUIRE(read.Ignored.size() <= 11);
    QSet<QString> names;
    QSet<int> folders;
    int home = 0;
    for (const TChild& child : read.Children) {
        const qsizetype length = child.Name.toUcs4().size();
        FUZZ_REQUIRE(length >= 1 && length <= MaxNameLength);
        FUZZ_REQUIRE(child.Name == child.Name.trimmed());
        FUZZ_REQUIRE(!names.contains(child.Name.toCaseFolded()));
        names.insert(child.Name.toCaseFolded());
        FUZZ_REQUIRE(!folders.contains(child.Folder));
        folders.insert(child.Folder);
        FUZZ_REQUIRE(child.Folder == 0 || (child.Folder >= 2 && child.Folder < read.NextFolder));
        home += child.Folder == 0 ? 1 : 0;
    }
    FUZZ_REQUIRE(read.Children.isEmpty() ? read.Last == 0 : home == 1);
    FUZZ_REQUIRE(read.Last >= 0 && (read.Last < read.Children.size() || read.Last == 0));
    if (read.Children.isEmpty())
        return 0;

    const QByteArray written = FamilyBytes(read.Children, read.Last, read.NextFolder);
    FUZZ_REQUIRE(OnlyCrLfBreaks(written));
    const TFamilyRead again = ParseFamily(written);
    FUZZ_REQUIRE(again.Ignored.isEmpty());
    FUZZ_REQUIRE(again.Last == read.Last);
    FUZZ_REQUIRE(again.NextFolder == read.NextFolder);
    FUZZ_REQUIRE(again.Children.size() == read.Children.size());
    for (qsizetype i = 0; i < read.Children.size(); ++i) {
        FUZZ_REQUIRE(again.Children[i].Name == read.Children[i].Name);
        FUZZ_REQUIRE(again.Children[i].Folder == read.Children[i].Folder);
    }
    return 0;
}
