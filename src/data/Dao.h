// The database engine in one include: Database, Recordset, error numbers, Quoted,
// and CreateDatabase for tools and tests that make files of this program's format.
#pragma once

#include "data/DaoErrors.h"
#include "data/Database.h"
#include "data/Recordset.h"
#include "data/Schema.h"
