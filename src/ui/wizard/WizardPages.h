// The wizard's two pages as views of its model. Each box is bound to its field once, when
// its page is made: a change of the box stores into the model. load() shows the model in the
// boxes, and what that does to them is not stored back. A page is shown or sent back as a
// whole.
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
    // The boxes' bindings hold on to the page.
    WizardPage(const WizardPage&) = delete;
    WizardPage& operator=(const WizardPage&) = delete;
    void showAt(const QPoint& at) const;
    void showInPlace() const;
    void sendBack() const;
    QGroupBox* frame() const { return m_frame; }

protected:
    // True while load() sets the boxes: their change signals are the model coming back.
    bool m_loading = false;

private:
    QGroupBox* m_frame;
};

// Page 1: the source type, folder and file name. A change of any of them is a change of the
// settings to save (WizardModel::setFolder and the others).
class SourcePage : public WizardPage {
public:
    SourcePage(const WizardControls& c, WizardModel& model);
    void load();

private:
    WizardModel& m_model;
    QComboBox* m_type;
    QLineEdit* m_folder;
    QLineEdit* m_file;
};

// Page 2: the company code and name and the year.
class TargetPage : public WizardPage {
public:
    TargetPage(const WizardControls& c, WizardModel& model);
    void load();

private:
    WizardModel& m_model;
    QComboBox* m_code;
    QLineEdit* m_name;
    QComboBox* m_year;
};

} // namespace ktv
