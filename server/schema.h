// The score database's schema: what a fresh database starts from (version 1, the schema
// before databases carried a version) and the steps that upgrade it one version at a time,
// in SQLite's and PostgreSQL's words. A new version is one more step at the end of the list.
#pragma once

#include <span>
#include <string>

#include "score_store.h"

namespace trakvolt::server {

enum class SqlDialect { Sqlite, Postgres };

// Upgrades a database at version `from` to `from + 1`; each runs in one transaction with the
// version change.
struct SchemaStep {
  int from;
  const char* sqlite;
  const char* postgres;
};

// Version 1, made with IF NOT EXISTS so that it also adopts a database made before versions.
const char* BaseSchema(SqlDialect dialect);
std::span<const SchemaStep> SchemaSteps();

// The step from `version`; throws for a version this build cannot upgrade from (a newer
// database, or a number no build has written), naming `where`.
const SchemaStep& StepFrom(int version, const std::string& where);

// The best results, with one country (parameters: country, limit) or all (limit). Two
// statements, each served by its own index.
const char* TopStatement(SqlDialect dialect, bool one_country);

}  // namespace trakvolt::server
