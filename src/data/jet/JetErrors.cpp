// Texts of the Jet module's engine errors.
#include "data/jet/JetErrors.h"

#include "data/jet/JetFile.h"

namespace ktv::jet {

Error fileNotFound(const std::string& path)
{
    return Error(jeterr::FileNotFound, "Could not find file '" + path + "'.");
}

Error notValidPassword()
{
    return Error(jeterr::NotValidPassword, "Not a valid password.");
}

Error tableNotFound(const std::string& name)
{
    return Error(jeterr::TableNotFound, "The database engine cannot find the input table or query '" + name +
                                            "'. Make sure it exists and that its name is spelled correctly.");
}

Error unrecognizedFormat(const std::string& path)
{
    return Error(jeterr::UnrecognizedFormat, "Unrecognized database format '" + path + "'.");
}

Error corrupt(const std::string& path, const std::string& detail)
{
    return Error(jeterr::Corrupt, "Cannot open database '" + path +
                                      "'. It may not be a database that your application recognizes, or the file may be corrupt. (" +
                                      detail + ")");
}

Error readOnly()
{
    return Error(3027, "Cannot update. Database or object is read-only.");
}

} // namespace ktv::jet
