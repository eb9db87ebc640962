// The wizard's data and the conversion request made from it.
#include "ui/wizard/WizardModel.h"

#include "convert/ConversionRun.h"

namespace ktv {

std::string WizardModel::typeName() const { return type ? SourceTypeName(*type) : std::string(); }

ConversionRequest WizardModel::request(const std::string& formCaption) const
{
    ConversionRequest r;
    r.sourceType = type;
    r.folder = folder;
    r.fileName = file;
    r.companyCode = code;
    r.companyName = name;
    r.year = year;
    r.formCaption = formCaption;
    return r;
}

} // namespace ktv
