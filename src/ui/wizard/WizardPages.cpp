// Binding the pages' boxes to the model, and showing the model in them.
#include "ui/wizard/WizardPages.h"

#include "ui/wizard/WizardControls.h"
#include "ui/wizard/WizardModel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace ktv {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The chosen entry's text; an empty list selection reads as empty text.
std::string chosenText(const QComboBox* box)
{
    return box->currentIndex() < 0 ? std::string() : box->currentText().toStdString();
}

// An unchanged text is left alone, so the caret and the selection stay where the operator put them.
void setText(QLineEdit* box, const std::string& text)
{
    const QString wanted = qs(text);
    if (box->text() != wanted)
        box->setText(wanted);
}

void choose(QComboBox* box, const std::string& text)
{
    box->setCurrentIndex(text.empty() ? -1 : box->findText(qs(text), Qt::MatchExactly));
}

// Calls store with the box's new text whenever it changes, except while the page loads it.
template <class Store> void bindText(QLineEdit* box, const bool& loading, Store store)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [&loading, store](const QString& text) {
        if (!loading)
            store(text.toStdString());
    });
}

// The same for a list: every change of its chosen entry, by the operator's mouse or keys.
template <class Store> void bindChoice(QComboBox* box, const bool& loading, Store store)
{
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box, &loading, store] {
        if (!loading)
            store(box);
    });
}

} // namespace

void WizardPage::showAt(const QPoint& at) const
{
    m_frame->move(at);
    showInPlace();
}

void WizardPage::showInPlace() const
{
    m_frame->show();
    m_frame->raise();
}

void WizardPage::sendBack() const
{
    m_frame->lower();
    m_frame->hide();
}

SourcePage::SourcePage(const WizardControls& c, WizardModel& model)
    : WizardPage(c.Fra_1), m_model(model), m_type(c.Cbo_KtdPvd), m_folder(c.Txt_Klasor),
      m_file(c.Txt_SecilenDosya)
{
    bindChoice(m_type, m_loading,
               [this](const QComboBox* box) { m_model.setType(SourceTypeAt(box->currentIndex())); });
    bindText(m_folder, m_loading, [this](const std::string& text) { m_model.setFolder(text); });
    bindText(m_file, m_loading, [this](const std::string& text) { m_model.setFile(text); });
}

void SourcePage::load()
{
    const QScopedValueRollback guard(m_loading, true);
    setText(m_folder, m_model.folder);
    setText(m_file, m_model.file);
    m_type->setCurrentIndex(PositionOf(m_model.type));
}

TargetPage::TargetPage(const WizardControls& c, WizardModel& model)
    : WizardPage(c.Fra_2), m_model(model), m_code(c.Cbo_FirmaKodu), m_name(c.Txt_FirmaAdi),
      m_year(c.Cbo_VedazYili)
{
    bindChoice(m_code, m_loading, [this](const QComboBox* box) { m_model.code = chosenText(box); });
    bindText(m_name, m_loading, [this](const std::string& text) { m_model.name = text; });
    bindChoice(m_year, m_loading, [this](const QComboBox* box) { m_model.year = chosenText(box); });
}

void TargetPage::load()
{
    const QScopedValueRollback guard(m_loading, true);
    choose(m_code, m_model.code);
    setText(m_name, m_model.name);
    choose(m_year, m_model.year);
}

} // namespace ktv
