// What the conversion run needs of its window: the confirmation, the hourglass, the
// progress bar, a chance to process pending events, and the closing message. The wizard
// and the command-line tool each implement it, so both drive the same run.
#pragma once

#include <string>

namespace ktv {

class ConversionHost {
public:
    virtual ~ConversionHost() = default;
    virtual bool confirm(const std::string& text, const std::string& title) = 0; // Yes/No, question icon
    virtual void setWaitCursor(bool on) = 0;
    virtual void setProgressVisible(bool visible) = 0;
    // The source table the bar counts from now on; the wizard's bar has no place for it.
    virtual void setProgressTable(const std::string& /*table*/) {}
    virtual void setProgressMax(int max) = 0;
    virtual void setProgressMin(int min) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual int progressValue() const = 0;
    virtual void processEvents() = 0;
    virtual void showMessage(const std::string& text, const std::string& title) = 0; // OK only, no icon
};

} // namespace ktv
