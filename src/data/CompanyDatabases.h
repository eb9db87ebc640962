// The company database set: SABIT.mdb (the register of all companies) and one company's
// year databases KTFIM.mdb and KTCHM.mdb, opened and closed by member number. A missing
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
    enum Member { Sabit = 1, Ktfim = 2, Ktchm = 3 };

    // Opens the member (creating it from its template when missing); any other number does
    // nothing. Failures go to ReportError with "VeriTabani_Ac : n" and the continue argument,
    // and the member stays closed.
    void VeriTabani_Ac(int member);
    // Closes an open member. A failed last save is reported with "VeriTabani_Kapat : n" and
    // then thrown on: the records it lost make the run fail.
    void VeriTabani_Kapat(int member);
    bool IsOpen(int member) const;
    // The member's database. A member whose open failed fails again with that error; one
    // never opened fails like an unset object (91).
    dao::Database& Db(int member);

    std::string FirmaKodu, VedazYili; // company context

    // Full file path of the member for the current context ("" for other numbers).
    std::string MemberPath(int member) const;
    std::string TemplatePath(int member) const;

private:
    static bool valid(int member) { return member >= Sabit && member <= Ktchm; }
    std::string memberFolder(int member) const;
    void createFromTemplate(int member, const std::string& file) const;

    std::array<bool, 4> m_open{};
    std::array<std::optional<Error>, 4> m_failure; // why the last open failed
    std::array<std::unique_ptr<dao::Database>, 4> m_db;
};

} // namespace ktv
