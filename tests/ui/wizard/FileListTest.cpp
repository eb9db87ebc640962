// File1 and the file listing under it: masks, letter case, what is left out, the order a
// user expects, and the selection.
#include "platform/core/Error.h"
#include "platform/qt/FileListing.h"
#include "support/TestSupport.h"
#include "ui/wizard/FileListBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include <filesystem>

namespace ktv::test {
namespace {

void touch(const TempDir& dir, const std::string& name) { writeFile(dir.file(name), "x"); }

struct MaskRow {
    const char* name;
    const char* pattern;
    QStringList names;
};

const MaskRow kMasks[] = {
    {"KtdInAnyCase", "*.ktd", {"a.ktd", "B.KTD"}},
    {"Pvd", "*.pvd", {"c.pvd"}},
    {"KtdAndPvd", "*.ktd;*.pvd", {"a.ktd", "B.KTD", "c.pvd"}},
    {"SpacesAndAnEmptyPart", " *.pvd ; *.txt ;", {"c.pvd", "d.txt"}},
    {"OneCharacter", "?.ktd", {"a.ktd", "B.KTD"}},
    {"EveryFileButTheHiddenOne", "*.*", {"a.ktd", "B.KTD", "c.pvd", "d.txt", "e.ktdx", "ktd", "noktasiz"}},
    {"Empty", "", {}},
};

// Files and a folder named like a file; folders and hidden files are never listed.
class FileListingMasks : public ::testing::TestWithParam<MaskRow> {
protected:
    void SetUp() override
    {
        for (const char* name :
             {"a.ktd", "B.KTD", "c.pvd", "d.txt", "e.ktdx", "ktd", ".gizli.ktd", "noktasiz"})
            touch(dir, name);
        std::filesystem::create_directory(dir.path() / "klasor.ktd");
    }
    TempDir dir;
};

TEST_P(FileListingMasks, ListTheMatchingFilesInAnyLetterCase)
{
    const QString folder = QString::fromStdString(dir.str());
    EXPECT_EQ(ListMatchingFiles(folder, QString::fromUtf8(GetParam().pattern)), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(FileListing, FileListingMasks, ::testing::ValuesIn(kMasks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileListing, MissingFolderListsNothing)
{
    TempDir dir;
    EXPECT_TRUE(ListMatchingFiles(QString::fromStdString(dir.str()) + "/yok", "*.*").isEmpty());
}

TEST(FileListing, NaturalOrder)
{
    QStringList names{"dosya10.ktd", "Dosya2.ktd", "dosya1.ktd", "ağaç.ktd",
                      "zeytin.ktd",  "Ürün.ktd",   "abc.ktd"};
    SortFileNamesNaturally(names);
    EXPECT_EQ(names.indexOf("dosya1.ktd"), names.indexOf("Dosya2.ktd") - 1);
    EXPECT_LT(names.indexOf("Dosya2.ktd"), names.indexOf("dosya10.ktd"));
    EXPECT_LT(names.indexOf("abc.ktd"), names.indexOf("ağaç.ktd") + 1);
    EXPECT_LT(names.indexOf("ağaç.ktd"), names.indexOf("dosya1.ktd")) << "ğ and ç sort with their letters";
    EXPECT_LT(names.indexOf("Ürün.ktd"), names.indexOf("zeytin.ktd"));
}

TEST(FileListBox, FolderPatternAndSelection)
{
    TempDir dir;
    for (const char* name : {"x2.ktd", "x10.ktd", "x1.ktd", "y.pvd"})
        touch(dir, name);
    FileListBox list;
    EXPECT_EQ(list.Path(), QDir::toNativeSeparators(QDir::currentPath())) << "the platform default";
    list.setPattern("*.ktd");
    list.setPath(QString::fromStdString(dir.str()));
    ASSERT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.List(0), "x1.ktd");
    EXPECT_EQ(list.List(2), "x10.ktd");
    EXPECT_EQ(list.ListIndex(), -1);
    list.setListIndex(2);
    EXPECT_EQ(list.ListIndex(), 2);
    list.setListIndex(-1);
    EXPECT_EQ(list.ListIndex(), -1);
    list.setListIndex(1);
    list.setPattern("*.pvd"); // a new listing has no selection
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListCount(), 1);

    try {
        list.setPath(QString::fromStdString(dir.str() + "/yok"));
        FAIL() << "a missing folder is an error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 76);
    }
    EXPECT_EQ(list.ListCount(), 1) << "the list keeps its content";
    EXPECT_EQ(list.Path().toStdString(), dir.str());
}

} // namespace
} // namespace ktv::test
