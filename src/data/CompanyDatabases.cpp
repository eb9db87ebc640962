// Opening a member never replaces an existing database; a template is copied whole under
// a temporary name and linked into place, so a half-copied file is never opened.
#include "data/CompanyDatabases.h"

#include "app/AppPath.h"
#include "app/ReportError.h"
#include "app/Tools.h"
#include "data/DaoErrors.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ktv {

namespace {

constexpr const char* kFiles[] = {"", "SABIT.mdb", "KTFIM.mdb", "KTCHM.mdb"};
constexpr const char* kTemplates[] = {"", "SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"};

} // namespace

std::string CompanyDatabases::memberFolder(int member) const
{
    const std::string data = AppPath() + "/DATA";
    if (member == Sabit)
        return data;
    return data + "/" + N_Ts(Value(FirmaKodu)) + "/" + N_Ts(Value(VedazYili));
}

std::string CompanyDatabases::MemberPath(int member) const
{
    return valid(member) ? memberFolder(member) + "/" + kFiles[member] : std::string();
}

std::string CompanyDatabases::TemplatePath(int member) const
{
    return valid(member) ? AppPath() + "/" + kTemplates[member] : std::string();
}

void CompanyDatabases::createFromTemplate(int member, const std::string& file) const
{
    const std::string tmpl = TemplatePath(member);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(tmpl, ec))
        dao::raise(dao::err::FileNotFound, tmpl);
    const std::string temp = file + ".part" + std::to_string(::getpid());
    std::filesystem::remove(temp, ec);
    if (!std::filesystem::copy_file(tmpl, temp, ec))
        throw Error(runtime_err::FileAccess, "Path/File access error: " + temp + " (" + ec.message() + ")");
    // link() refuses an existing name: a database another instance made meanwhile stays.
    const int rc = ::link(temp.c_str(), file.c_str());
    const int e = errno;
    std::filesystem::remove(temp, ec);
    if (rc != 0 && e != EEXIST)
        throw Error(runtime_err::FileAccess, "Path/File access error: " + file + " (" + std::strerror(e) + ")");
}

void CompanyDatabases::VeriTabani_Ac(int member)
{
    if (!valid(member))
        return;
    m_open[member] = false;
    try {
        const std::string folder = memberFolder(member);
        MakePath(folder);
        const std::string file = folder + "/" + kFiles[member];
        if (!std::filesystem::exists(file))
            createFromTemplate(member, file);
        m_db[member] = dao::Database::OpenDatabase(file, false, false, "");
        m_open[member] = true;
    } catch (const Error& e) {
        ReportError(e.number(), e.description(), "VeriTabani_Ac : " + std::to_string(member), true);
    } catch (const std::exception& e) {
        ReportError(runtime_err::FileAccess, e.what(), "VeriTabani_Ac : " + std::to_string(member), true);
    }
}

void CompanyDatabases::VeriTabani_Kapat(int member)
{
    if (!valid(member) || !m_open[member])
        return;
    try {
        if (m_db[member])
            m_db[member]->Close();
        m_db[member].reset();
        m_open[member] = false;
    } catch (const Error& e) {
        ReportError(e.number(), e.description(), "VeriTabani_Kapat : " + std::to_string(member), true);
    }
}

bool CompanyDatabases::IsOpen(int member) const { return valid(member) && m_open[member]; }

dao::Database& CompanyDatabases::Db(int member)
{
    if (!IsOpen(member) || !m_db[member])
        throw Error(runtime_err::ObjectNotSet, "Object variable or With block variable not set");
    return *m_db[member];
}

} // namespace ktv
