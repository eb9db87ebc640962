// The company database set: SABIT.mdb (the register of all companies) and one company's
// year databases KTFIM.mdb and KTCHM.mdb, opened and closed by member number. A missing
// database is copied from its template beside the program. No window code: the wizard form
// and the command-line tool both own one.
#pragma once

#include "data/Database.h"

#include <array>
#include <memory>
#include <string>

namespace ktv {

class CompanyDatabases {
public:
    enum Member { Sabit = 1, Ktfim = 2, Ktchm = 3 };

    // Opens the member (creating it from its template when missing); any other number does
    // nothing. Failures go to ReportError with "VeriTabani_Ac : n" and the continue argument,
    // and the member stays closed.
    void VeriTabani_Ac(int member);
    // Closes an open member; failures are reported with "VeriTabani_Kapat : n".
    void VeriTabani_Kapat(int member);
    bool IsOpen(int member) const;
    // The member's database; using a member that is not open fails like an unset object (91).
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
    std::array<std::unique_ptr<dao::Database>, 4> m_db;
};

} // namespace ktv
