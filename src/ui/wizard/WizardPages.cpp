// Loading the pages' boxes from the model and storing them into it.
#include "ui/wizard/WizardPages.h"

#include "ui/wizard/WizardControls.h"
#include "ui/wizard/WizardModel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

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

SourcePage::SourcePage(const WizardControls& c)
    : WizardPage(c.Fra_1), m_type(c.Cbo_KtdPvd), m_folder(c.Txt_Klasor), m_file(c.Txt_SecilenDosya)
{}

void SourcePage::load(const WizardModel& model) const
{
    setText(m_folder, model.folder);
    setText(m_file, model.file);
    m_type->setCurrentIndex(PositionOf(model.type));
}

void SourcePage::store(WizardModel& model) const
{
    model.folder = m_folder->text().toStdString();
    model.file = m_file->text().toStdString();
    model.type = shownType();
}

std::optional<SourceType> SourcePage::shownType() const { return SourceTypeAt(m_type->currentIndex()); }

TargetPage::TargetPage(const WizardControls& c)
    : WizardPage(c.Fra_2), m_code(c.Cbo_FirmaKodu), m_name(c.Txt_FirmaAdi), m_year(c.Cbo_VedazYili)
{}

void TargetPage::load(const WizardModel& model) const
{
    choose(m_code, model.code);
    setText(m_name, model.name);
    choose(m_year, model.year);
}

void TargetPage::store(WizardModel& model) const
{
    model.code = chosenText(m_code);
    model.name = m_name->text().toStdString();
    model.year = chosenText(m_year);
}

} // namespace ktv
