// The schema text of each member's template (SABIT, KTFIM, KTCHM), built in from the schema
// files the templates are generated from.
#pragma once

#include "data/CompanyDatabases.h"

namespace ktv {

const char* TemplateSchema(CompanyDatabases::Member member); // "" outside the set

} // namespace ktv
