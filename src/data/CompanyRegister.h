// The company register: the name lookup for a code in SABIT.mdb, and the register step
// that records the company and gives each of its year databases a company record.
#pragma once

#include "data/CompanyDatabases.h"

#include <string>

namespace ktv {

// The name registered for a code in SABIT.mdb ("" when unknown or Null). Leaves member 1 closed.
std::string FirmaAdiBul(CompanyDatabases& set, const std::string& code);

// The register step: code/name/year are the texts of the form's boxes (N_T applied inside).
// Engine errors other than opening and closing members are not caught.
void Firma_Kaydet(CompanyDatabases& set, const std::string& code, const std::string& name,
                  const std::string& year);

} // namespace ktv
