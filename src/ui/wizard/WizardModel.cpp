// The wizard's data and the conversion request made from it.
#include "ui/wizard/WizardModel.h"

#include "convert/ConversionRun.h"

#include <iterator>

namespace ktv {

std::string WizardModel::typeName() const
{
    return type >= 0 && type < int(std::size(kSourceTypes)) ? kSourceTypes[type] : std::string();
}

ConversionRequest WizardModel::request(const std::string& formCaption) const
{
    ConversionRequest r;
    r.sourceType = typeName();
    r.folder = folder;
    r.fileName = file;
    r.companyCode = code;
    r.companyName = name;
    r.year = year;
    r.formCaption = formCaption;
    return r;
}

} // namespace ktv
