// The wizard as assistive technology finds it through QAccessible: the window is a frame and
// every field is named by its label, whatever entry or text it shows.
#include "WizardFixture.h"

#include "ui/wizard/FileListBox.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <set>

namespace ktv::test {
namespace {

TEST_F(WizardTest, TheWindowIsAFrameAndEveryFieldIsNamedByItsLabel)
{
    open();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), " V4KT");

    const struct {
        QWidget* field;
        QLabel* label; // none: a field without a label of its own
        const char* labelText;
        const char* name;
    } fields[] = {
        {c().Cbo_KtdPvd, c().Label3, "KTD/PVD :", "KTD/PVD"},
        {c().Txt_Klasor, c().Label1, "Çevrim Yapılacak Dosyaların Bulunduğu Klasör",
         "Çevrim Yapılacak Dosyaların Bulunduğu Klasör"},
        {c().File1, nullptr, "", "Klasördeki Dosyalar"},
        {c().Txt_SecilenDosya, c().Label2, "Çevrim Yapılacak Dosyanın Adı", "Çevrim Yapılacak Dosyanın Adı"},
        {c().Cbo_FirmaKodu, c().Lbl_YeniFirmaKodu, " FİRMA KODU", "FİRMA KODU"},
        {c().Txt_FirmaAdi, c().Lbl_YeniFirmaAdi, " FİRMA ADI", "FİRMA ADI"},
        {c().Cbo_VedazYili, c().Label4, "Hangi Yıla Aktarım Yapılacak ? :", "Hangi Yıla Aktarım Yapılacak ?"},
    };
    c().Cbo_KtdPvd->setCurrentIndex(0); // a list shows an entry; its name stays its label's
    std::set<QString> names;
    for (const auto& f : fields) {
        SCOPED_TRACE(f.field->objectName().toStdString());
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(f.field);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(f.name));
        names.insert(a->text(QAccessible::Name));
        if (!f.label)
            continue;
        EXPECT_EQ(f.label->text(), QString::fromUtf8(f.labelText)) << "the visible text stays";
        EXPECT_EQ(f.label->buddy(), f.field);
        bool labelled = false; // by the label (the page's frame labels it too)
        for (const auto& relation : a->relations(QAccessible::Label))
            labelled = labelled || relation.first->object() == f.label;
        EXPECT_TRUE(labelled);
    }
    EXPECT_EQ(names.size(), std::size(fields)) << "no two fields share a name";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(c().Fra_YeniFirma)->text(QAccessible::Name),
              "YENİ FİRMA BİLGİSİ")
        << "a frame inside a frame has its own caption";

    // The chosen entry is the list's value.
    QAccessibleInterface* type = QAccessible::queryAccessibleInterface(c().Cbo_KtdPvd);
    EXPECT_EQ(type->role(), QAccessible::ComboBox);
    EXPECT_EQ(type->text(QAccessible::Value), "KTD");
    ASSERT_NE(type->actionInterface(), nullptr);
    EXPECT_TRUE(
        type->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
}

} // namespace
} // namespace ktv::test
