// Opening a member never replaces an existing database; a template is copied whole under
// a temporary name, checked, and renamed into place, so a half-copied or damaged file is
// never opened.
#include "data/CompanyDatabases.h"

#include "app/AppPath.h"
#include "app/AppPathLayout.h"
#include "app/ReportError.h"
#include "app/Tools.h"
#include "data/DaoErrors.h"
#include "data/Schema.h"
#include "data/SqliteHandles.h"
#include "data/TemplateCopy.h"
#include "data/TemplateSchemas.h"
#include "platform/core/TextCodec.h"

#include <unistd.h>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ktv {

namespace {

// By slot: SABIT, KTFIM, KTCHM.
constexpr const char* kFiles[] = {"SABIT.mdb", "KTFIM.mdb", "KTCHM.mdb"};
constexpr const char* kTemplates[] = {"SABIT.mdx", "KTFIM.mdx", "KTCHM.mdx"};

} // namespace

std::optional<std::size_t> CompanyDatabases::slot(Member member)
{
    switch (member) {
    case Sabit: return 0;
    case Ktfim: return 1;
    case Ktchm: return 2;
    }
    return std::nullopt; // a value made from a number outside the set
}

std::string CompanyDatabases::memberFolder(Member member) const
{
    const std::string data = DataFolder();
    if (member == Sabit)
        return data;
    return data + "/" + N_Ts(Value(FirmaKodu)) + "/" + N_Ts(Value(VedazYili));
}

std::string CompanyDatabases::MemberPath(Member member) const
{
    const auto i = slot(member);
    if (!i)
        return {};
    if (!Server.empty())
        return "schema " + ServerSchema(member) + " on the database server '" + dao::ServerName(Server) + "'";
    return memberFolder(member) + "/" + kFiles[*i];
}

std::string CompanyDatabases::ServerSchema(Member member) const
{
    if (!slot(member))
        return {};
    if (member == Sabit)
        return "sabit";
    return std::string(member == Ktfim ? "ktfim_" : "ktchm_") + N_Ts(Value(FirmaKodu)) + "_" +
           N_Ts(Value(VedazYili));
}

std::string CompanyDatabases::TemplatePath(Member member) const
{
    const auto i = slot(member);
    return i ? TemplateFolder() + "/" + kTemplates[*i] : std::string();
}

namespace {

// The copy must be a sound database of this program with at least the tables and columns
// of the member's schema; a damaged or foreign template is refused here, before it is
// put in place, instead of blocking every later run from DATA.
void checkCopy(CompanyDatabases::Member member, const std::string& copy, const std::string& tmpl)
{
    auto refuse = [&] { dao::raise(dao::err::UnrecognizedFormat, tmpl); };
    {
        dao::SqliteConnection db;
        const int rc = dao::openConnection(copy, SQLITE_OPEN_READONLY, db);
        std::string verdict;
        try {
            if (rc != SQLITE_OK)
                refuse();
            verdict = dao::queryText(db.get(), "PRAGMA quick_check");
        } catch (const Error&) {
            refuse();
        }
        if (verdict != "ok")
            refuse();
    }
    std::unique_ptr<dao::Database> db;
    try {
        // Opening also sets the journal mode, on the private copy where no other instance
        // can race on the switch.
        db = dao::Database::OpenDatabase(copy, false, false, "");
        const auto names = db->TableNames();
        for (const dao::TableDef& t : dao::parseSchema(TemplateSchema(member))) {
            const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
                return text::asciiLower(n) == text::asciiLower(t.name);
            });
            if (found == names.end())
                refuse();
            auto rs = db->OpenRecordset(t.name, dao::RecordsetType::Snapshot);
            const auto fields = rs->FieldNames();
            for (const auto& c : t.columns)
                if (std::none_of(fields.begin(), fields.end(), [&](const std::string& f) {
                        return text::asciiLower(f) == text::asciiLower(c.column.name);
                    }))
                    refuse();
            rs->Close();
        }
        db->Close();
    } catch (const Error& e) {
        if (db)
            db.reset();
        // A full disk or an I/O error while making the copy says so; it is not the
        // template's fault.
        if (e.number() == dao::err::Locked || e.number() == dao::err::EngineFailure ||
            e.number() == runtime_err::FileAccess || e.number() == dao::err::CannotOpen)
            throw;
        refuse();
    }
}

} // namespace

void CompanyDatabases::createFromTemplate(Member member, const std::string& file) const
{
    const std::string tmpl = TemplatePath(member);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(tmpl, ec))
        dao::raise(dao::err::FileNotFound, tmpl);
    // Instances create members one at a time; the one that waited finds the file made.
    const FolderLock lock(std::filesystem::path(file).parent_path().string());
    if (std::filesystem::exists(file, ec))
        return;
    const std::string temp = file + ".part" + std::to_string(::getpid());
    std::filesystem::remove(temp, ec); // left by a killed run of an earlier process with this id
    copyToNewFile(tmpl, temp);
    try {
        checkCopy(member, temp, tmpl);
    } catch (...) {
        std::filesystem::remove(temp, ec);
        std::filesystem::remove(temp + "-wal", ec);
        std::filesystem::remove(temp + "-shm", ec);
        throw;
    }
    placeWithoutReplacing(temp, file); // false: another instance made it meanwhile, and it stays
}

void CompanyDatabases::VeriTabani_Ac(Member member)
{
    const auto i = slot(member);
    if (!i)
        return;
    const std::string place = "VeriTabani_Ac : " + std::to_string(Number(member));
    m_open[*i] = false;
    m_failure[*i].reset();
    try {
        if (!Server.empty()) {
            // The schema is made from the same template definitions as the .mdx files.
            m_db[*i] =
                dao::Database::OpenServer(Server, ServerSchema(member), TemplateSchema(member), true, false);
            m_open[*i] = true;
            return;
        }
        const std::string folder = memberFolder(member);
        MakePath(folder);
        const std::string file = folder + "/" + kFiles[*i];
        removeStaleCopies(file);
        if (!std::filesystem::exists(file))
            createFromTemplate(member, file);
        m_db[*i] = dao::Database::OpenDatabase(file, false, false, "");
        m_open[*i] = true;
    } catch (const Error& e) {
        m_failure[*i] = e;
        ReportError(e.number(), e.description(), place, true);
    } catch (const std::exception& e) {
        m_failure[*i] = Error(runtime_err::FileAccess, e.what());
        ReportError(runtime_err::FileAccess, e.what(), place, true);
    }
}

void CompanyDatabases::VeriTabani_Kapat(Member member)
{
    const auto i = slot(member);
    if (!i || !m_open[*i])
        return;
    try {
        if (m_db[*i])
            m_db[*i]->Close();
        m_db[*i].reset();
        m_open[*i] = false;
    } catch (const Error& e) {
        // The last save failed: what was written since the previous one is lost. Reported,
        // and then the run ends with this error, never with its completion message.
        m_db[*i].reset();
        m_open[*i] = false;
        ReportError(e.number(), e.description(), "VeriTabani_Kapat : " + std::to_string(Number(member)),
                    true);
        throw;
    }
}

bool CompanyDatabases::IsOpen(Member member) const
{
    const auto i = slot(member);
    return i && m_open[*i];
}

dao::Database& CompanyDatabases::Db(Member member)
{
    const auto i = slot(member);
    if (!i || !m_open[*i] || !m_db[*i]) {
        // After a failed open the reason of that failure, not a bare "object not set".
        if (i && m_failure[*i])
            throw *m_failure[*i];
        throw Error(runtime_err::ObjectNotSet, "Object variable or With block variable not set");
    }
    return *m_db[*i];
}

} // namespace ktv
