// What a control host calls on the controls it hosts: their life cycle (new, load, save),
// changes of the host's ambient properties, and the control's access key.
#pragma once

#include <QString>

class QWidget;

namespace ktv {

class PropertyBag;

class HostedControl {
public:
    virtual ~HostedControl() = default;

    virtual QWidget* controlWindow() = 0;
    virtual void InitProperties() = 0;                       // a new instance placed on a form
    virtual void ReadProperties(const PropertyBag& bag) = 0; // load from the form's store
    virtual void WriteProperties(PropertyBag& bag) = 0;      // save into the form's store
    virtual void AmbientChanged(const QString& name) = 0;    // "DisplayAsDefault", "BackColor", ...
    virtual void AccessKeyPress(int keyAscii) = 0;           // access key, or Enter/Esc as default/cancel
};

} // namespace ktv
