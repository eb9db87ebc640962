// The company database set: SABIT.mdb (the register of all companies) and one company's
// year databases KTFIM.mdb and KTCHM.mdb, opened and closed by member. A missing
// database is copied from its template beside the program. No window code: the wizard form
// and the command-line tool both own one.
#pragma once

#include "data/Database.h"
#include "platform/core/Error.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace ktv {

class CompanyDatabases {
public:
    // The members; the value is the member's number, shown in the error texts.
    enum class Member { Sabit = 1, Ktfim = 2, Ktchm = 3 };
    using enum Member;

    // The member's number, as the error texts show it.
    static constexpr int Number(Member member) { return static_cast<int>(member); }

    // Opens the member (creating it from its template when missing); a value outside the
    // set does nothing. Failures go to ReportError with "VeriTabani_Ac : n" and the continue
    // argument, and the member stays closed.
    void VeriTabani_Ac(Member member);
    // Closes an open member. A failed last save is reported with "VeriTabani_Kapat : n" and
    // then thrown on: the records it lost make the run fail.
    void VeriTabani_Kapat(Member member);
    bool IsOpen(Member member) const;
    // The member's database. A member whose open failed fails again with that error; one
    // never opened fails like an unset object (91).
    dao::Database& Db(Member member);

    std::string FirmaKodu, VedazYili; // company context
    // A libpq connection string: the set lives on that PostgreSQL server, one schema per
    // member (sabit, ktfim_<code>_<year>, ktchm_<code>_<year>). Empty: the DATA folder.
    std::string Server;

    // Full file path of the member for the current context ("" outside the set); on a
    // server, the schema and the server it is on.
    std::string MemberPath(Member member) const;
    std::string TemplatePath(Member member) const;
    // The member's schema on the server ("" outside the set).
    std::string ServerSchema(Member member) const;

private:
    // Each member's place in the arrays below; a value outside the set has none.
    static std::optional<std::size_t> slot(Member member);
    std::string memberFolder(Member member) const;
    void createFromTemplate(Member member, const std::string& file) const;

    std::array<bool, 3> m_open{};
    std::array<std::optional<Error>, 3> m_failure; // why the last open failed
    std::array<std::unique_ptr<dao::Database>, 3> m_db;
};

} // namespace ktv
