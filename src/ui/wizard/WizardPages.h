// The wizard's two pages as views of its model: each page loads its boxes from the model and
// stores what they show back into it, and is shown or sent back as a whole.
#pragma once

#include "convert/SourceType.h"

#include <optional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPoint;

namespace ktv {

struct WizardControls;
struct WizardModel;

// The frame of a page: moved onto page 1's place and brought to the front, or sent back.
class WizardPage {
public:
    explicit WizardPage(QGroupBox* frame) : m_frame(frame) {}
    void showAt(const QPoint& at) const;
    void showInPlace() const;
    void sendBack() const;
    QGroupBox* frame() const { return m_frame; }

private:
    QGroupBox* m_frame;
};

// Page 1: the source type, folder and file name.
class SourcePage : public WizardPage {
public:
    explicit SourcePage(const WizardControls& c);
    void load(const WizardModel& model) const;
    void store(WizardModel& model) const;
    // The type the list shows; none while no entry is chosen.
    std::optional<SourceType> shownType() const;

private:
    QComboBox* m_type;
    QLineEdit* m_folder;
    QLineEdit* m_file;
};

// Page 2: the company code and name and the year.
class TargetPage : public WizardPage {
public:
    explicit TargetPage(const WizardControls& c);
    void load(const WizardModel& model) const;
    void store(WizardModel& model) const;

private:
    QComboBox* m_code;
    QLineEdit* m_name;
    QComboBox* m_year;
};

} // namespace ktv
