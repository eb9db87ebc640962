// The Jet module's engine errors, worded by the engine's one table of descriptions.
#include "data/jet/JetErrors.h"

#include "data/DaoErrors.h"

namespace ktv::jet {

namespace {
Error engineError(int number, const std::string& name = {})
{
    return Error(number, dao::describe(number, name));
}
} // namespace

Error fileNotFound(const std::string& path) { return engineError(dao::err::FileNotFound, path); }
Error cannotOpen(const std::string& path) { return engineError(dao::err::CannotOpen, path); }
Error notValidPassword() { return engineError(dao::err::NotValidPassword); }
Error tableNotFound(const std::string& name) { return engineError(dao::err::TableNotFound, name); }
Error unrecognizedFormat(const std::string& path) { return engineError(dao::err::UnrecognizedFormat, path); }
Error readOnly() { return engineError(dao::err::ReadOnly); }
Error noCurrentRecord() { return engineError(dao::err::NoCurrentRecord); }
Error itemNotFound() { return engineError(dao::err::ItemNotFound); }
Error objectClosed() { return engineError(dao::err::ObjectClosed); }
Error unknownColumnInCondition() { return engineError(dao::err::TooFewParameters); }

Error encryptedAce(const std::string& path)
{
    return Error(
        dao::err::CannotOpen,
        "Cannot open database '" + path +
            "'. The file is encrypted (an Access 2007 or later database with a database password), and "
            "encrypted files cannot be read. Remove its database password, or save it in the Access "
            "2000-2003 format, and try again.");
}

Error corrupt(const std::string& path, const std::string& detail)
{
    return Error(
        kCorrupt,
        "Cannot open database '" + path +
            "'. It may not be a database that your application recognizes, or the file may be corrupt. (" +
            detail + ")");
}

} // namespace ktv::jet
