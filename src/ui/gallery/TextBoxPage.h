// Gallery page of the text box behaviour: one box per filter, mask and casing, with the focus
// colours and the space removal switchable for all of them.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

namespace ktv {

class clsTextBox;

class TextBoxPage : public QWidget {
    Q_OBJECT
public:
    explicit TextBoxPage(QWidget* parent = nullptr);
    ~TextBoxPage() override;

    // Types a sample into every box (through the change event, as typing would), turns the focus
    // colours on and puts the focus in the proper-case box: a filled page for a first look.
    void fillSamples();

private:
    // One behaviour per box, so the remembered characters of one box never affect another.
    std::vector<std::unique_ptr<clsTextBox>> m_behaviours;
};

} // namespace ktv
