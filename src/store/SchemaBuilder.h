#pragma once

#include <QString>

// Makes a new list file with both tables from the schema file. Used by the build
// (the program ships with its file) and by tests; the program itself never
// creates tables.
namespace SchemaBuilder {

bool CreateListFile(const QString &dbPath, const QString &schemaPath, QString *error);

} // namespace SchemaBuilder
