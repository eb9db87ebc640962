// The schema text of each member's template (SABIT, KTFIM, KTCHM by member number 1..3),
// built in from the schema files the templates are generated from.
#pragma once

namespace ktv {

const char* TemplateSchema(int member); // "" for another number

} // namespace ktv
