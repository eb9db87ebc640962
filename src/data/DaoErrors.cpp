// Descriptions of the engine errors, worded as the original engine worded them.
#include "data/DaoErrors.h"

namespace ktv::dao {

std::string describe(int number, const std::string& name)
{
    switch (number) {
    case err::FileNotFound: return "Could not find file '" + name + "'.";
    case err::NotValidPassword: return "Not a valid password.";
    case err::UnrecognizedFormat: return "Unrecognized database format '" + name + "'.";
    case err::TableNotFound:
        return "The database engine cannot find the input table or query '" + name +
               "'. Make sure it exists and that its name is spelled correctly.";
    case err::ItemNotFound: return "Item not found in this collection.";
    case err::FieldTooSmall:
        return "The field is too small to accept the amount of data you attempted to add. "
               "Try inserting or pasting less data.";
    case err::Overflow: return "Overflow";
    case err::TypeMismatch: return "Type mismatch";
    case err::NoCurrentRecord: return "No current record.";
    case err::SyntaxError: return "Syntax error in query expression '" + name + "'.";
    case err::ReadOnly: return "Cannot update. Database or object is read-only.";
    case err::UpdateWithoutAddNew: return "Update or CancelUpdate without AddNew or Edit.";
    case err::TooFewParameters: return "Too few parameters. Expected 1.";
    case err::CriteriaMismatch: return "Data type mismatch in criteria expression.";
    case err::CannotOpen:
        return "The database engine cannot open the file '" + name +
               "'. It is already opened exclusively by another user, or you need permission to view its "
               "data.";
    case err::Locked: return "Could not update; currently locked.";
    case err::DatabaseExists: return "Database already exists.";
    case err::ObjectClosed: return "Object invalid or no longer set.";
    case err::RecordDeleted: return "Record is deleted.";
    default: return name.empty() ? "Database engine error." : name;
    }
}

void raise(int number, const std::string& name) { throw Error(number, describe(number, name)); }

void raiseText(int number, const std::string& description) { throw Error(number, description); }

std::string Quoted(const std::string& value)
{
    std::string out = "'";
    for (char c : value) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    out += '\'';
    return out;
}

} // namespace ktv::dao
