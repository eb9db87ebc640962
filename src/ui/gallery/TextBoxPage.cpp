// The text box gallery page.
#include "ui/gallery/TextBoxPage.h"

#include "ui/controls/textbox/TextBoxBinding.h"
#include "ui/controls/textbox/clsTextBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ktv {

namespace {

struct Row {
    const char* objectName;
    const char* title;
    const char* description;
    std::function<void(clsTextBox&, TextBox&)> onChange;
};

std::vector<Row> rows()
{
    return {
        {"Integer_Pos", "Integer_Pos", "Yalnız rakam", [](clsTextBox& b, TextBox& t) { b.Integer_Pos(t); }},
        {"Integer_Neg", "Integer_Neg", "Başta her zaman \"-\", sonra rakamlar",
         [](clsTextBox& b, TextBox& t) { b.Integer_Neg(t); }},
        {"Integer_All", "Integer_All", "Rakamlar; \"-\" yalnız ilk karakter olarak",
         [](clsTextBox& b, TextBox& t) { b.Integer_All(t); }},
        {"Numeric_Pos", "Numeric_Pos", "Rakamlar ve bir \".\"",
         [](clsTextBox& b, TextBox& t) { b.Numeric_Pos(t); }},
        {"Numeric_Neg", "Numeric_Neg", "Başta \"-\", rakamlar ve bir \".\"",
         [](clsTextBox& b, TextBox& t) { b.Numeric_Neg(t); }},
        {"Numeric_All", "Numeric_All", "Rakamlar, başta \"-\", bir \".\"",
         [](clsTextBox& b, TextBox& t) { b.Numeric_All(t); }},
        {"Numeric_WithSymbols", "Numeric_WithSymbols", "Harf dışında her şey",
         [](clsTextBox& b, TextBox& t) { b.Numeric_WithSymbols(t); }},
        {"Alpha_All", "Alpha_All", "Rakam dışında her şey",
         [](clsTextBox& b, TextBox& t) { b.Alpha_All(t); }},
        {"AlphaNumeric_NoSymbols", "AlphaNumeric_NoSymbols", "Yalnız harf (A-Z, a-z) ve rakam",
         [](clsTextBox& b, TextBox& t) { b.AlphaNumeric_NoSymbols(t); }},
        {"Alpha_NoSymbols", "Alpha_NoSymbols", "Yalnız harf (A-Z, a-z)",
         [](clsTextBox& b, TextBox& t) { b.Alpha_NoSymbols(t); }},
        {"Numeric_FixedDec", "Numeric_FixedDec (2)", "En çok 2 ondalık",
         [](clsTextBox& b, TextBox& t) { b.Numeric_FixedDec(t, 2); }},
        {"Numeric_FixedDec_Zero", "Numeric_FixedDec (2, sıfır, eksi)",
         "2 ondalık, sondaki sıfırlarla, eksi olabilir",
         [](clsTextBox& b, TextBox& t) { b.Numeric_FixedDec(t, 2, true, true); }},
        {"Numeric_FixedDec_0", "Numeric_FixedDec (0)", "Tamsayı, ondalık yok",
         [](clsTextBox& b, TextBox& t) { b.Numeric_FixedDec(t, 0); }},
        {"MaskedText_Tarih", "MaskedText ##/##/####", "Tarih maskesi: \"/\" kendiliğinden gelir",
         [](clsTextBox& b, TextBox& t) { b.MaskedText(t, QStringLiteral("##/##/####")); }},
        {"MaskedText_Plaka", "MaskedText ##-@@@-###", "\"#\" rakam, \"@\" rakam dışı",
         [](clsTextBox& b, TextBox& t) { b.MaskedText(t, QStringLiteral("##-@@@-###")); }},
        {"CaseUpper", "CaseUpper", "Büyük harf (i → İ, ı → I)",
         [](clsTextBox& b, TextBox& t) { b.CaseUpper(t); }},
        {"CaseLower", "CaseLower", "Küçük harf (I → ı, İ → i)",
         [](clsTextBox& b, TextBox& t) { b.CaseLower(t); }},
        {"CaseProper", "CaseProper", "Sözcüklerin baş harfi büyük (McDonald, O'Neil, Jean-Paul)",
         [](clsTextBox& b, TextBox& t) { b.CaseProper(t); }},
        {"Duz", "Süzgeçsiz", "Yalnız odak, Enter, oklar ve Esc", {}},
    };
}

} // namespace

TextBoxPage::TextBoxPage(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Her kutu kendi süzgecini her değişiklikten sonra uygular. "
                                  "Enter ve Aşağı ok sonraki kutuya, Yukarı ok önceki kutuya geçer; "
                                  "Esc kutuya girildiğindeki metni geri getirir."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* colors = new QCheckBox(QStringLiteral("Odaktayken renk değiştir (pAllowColorChange)"));
    colors->setObjectName(QStringLiteral("pAllowColorChange"));
    auto* spaces = new QCheckBox(QStringLiteral("Fazla boşlukları sil (pRemoveExtraSpaces)"));
    spaces->setObjectName(QStringLiteral("pRemoveExtraSpaces"));
    layout->addWidget(colors);
    layout->addWidget(spaces);

    auto* grid = new QGridLayout;
    grid->setColumnStretch(2, 1);
    int line = 0;
    for (const Row& row : rows()) {
        auto behaviour = std::make_unique<clsTextBox>();
        auto* title = new QLabel(QString::fromUtf8(row.title));
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(row.objectName));
        edit->setMinimumWidth(220);
        title->setBuddy(edit);
        TextBoxBinding::ChangeHandler handler;
        if (row.onChange) {
            clsTextBox* b = behaviour.get();
            handler = [b, op = row.onChange](TextBox& t) { op(*b, t); };
        }
        auto* binding = new TextBoxBinding(edit, *behaviour, handler);
        // A host form's change event also runs for the empty box it starts with, so a box that
        // always carries a sign shows it from the start.
        if (handler)
            handler(binding->textBox());
        grid->addWidget(title, line, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(row.description)), line, 1);
        grid->addWidget(edit, line, 2);
        ++line;
        m_behaviours.push_back(std::move(behaviour));
    }

    // mTrimString works on any text: shown beside a box of its own.
    auto* trimTitle = new QLabel(QStringLiteral("mTrimString"));
    QFont bold = trimTitle->font();
    bold.setBold(true);
    trimTitle->setFont(bold);
    auto* trimEdit = new QLineEdit;
    trimEdit->setObjectName(QStringLiteral("mTrimString"));
    auto* trimResult = new QLabel(QStringLiteral("«»"));
    connect(trimEdit, &QLineEdit::textChanged, trimResult, [trimResult](const QString& text) {
        trimResult->setText(QStringLiteral("«%1»").arg(clsTextBox::mTrimString(text)));
    });
    grid->addWidget(trimTitle, line, 0);
    grid->addWidget(trimResult, line, 1);
    grid->addWidget(trimEdit, line, 2);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(colors, &QCheckBox::toggled, this, [this](bool on) {
        for (auto& b : m_behaviours)
            b->pAllowColorChange(on);
    });
    connect(spaces, &QCheckBox::toggled, this, [this](bool on) {
        for (auto& b : m_behaviours)
            b->pRemoveExtraSpaces(on);
    });
}

void TextBoxPage::fillSamples()
{
    const std::pair<const char*, const char*> samples[] = {
        {"Integer_Pos", "12a3"},
        {"Integer_Neg", "5x"},
        {"Integer_All", "-1-2"},
        {"Numeric_Pos", "1.2.3"},
        {"Numeric_Neg", "3.14"},
        {"Numeric_All", "-1.2.3"},
        {"Numeric_WithSymbols", "Aç%1z"},
        {"Alpha_All", "abc123 şğ"},
        {"AlphaNumeric_NoSymbols", "a1 ç-B"},
        {"Alpha_NoSymbols", "aç b"},
        {"Numeric_FixedDec", "007.456"},
        {"Numeric_FixedDec_Zero", "5."},
        {"Numeric_FixedDec_0", "12.5"},
        {"MaskedText_Tarih", "08122026"},
        {"MaskedText_Plaka", "34-ab1"},
        {"CaseUpper", "istanbul ılık"},
        {"CaseLower", "IŞIK İZMİR"},
        {"CaseProper", "mcdonald o'neil jean-paul ılık istanbul"},
        {"Duz", "serbest metin"},
        {"mTrimString", "   a   b   "},
    };
    for (const auto& [name, text] : samples) {
        if (auto* edit = findChild<QLineEdit*>(QString::fromLatin1(name)))
            edit->setText(QString::fromUtf8(text));
    }
    if (auto* colors = findChild<QCheckBox*>(QStringLiteral("pAllowColorChange")))
        colors->setChecked(true);
    if (auto* proper = findChild<QLineEdit*>(QStringLiteral("CaseProper")))
        proper->setFocus(Qt::TabFocusReason);
}

TextBoxPage::~TextBoxPage()
{
    // The boxes' bindings refer to the behaviours: the boxes go first.
    qDeleteAll(findChildren<QLineEdit*>());
}

} // namespace ktv
