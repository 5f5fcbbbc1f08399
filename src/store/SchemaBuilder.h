#pragma once

#include <QString>

// Makes a new list file with both tables from the schema file. Used by the build
// (the program ships with an empty list) and by tests; the program itself never
// creates tables.
namespace SchemaBuilder {

// The list is built in a new file beside `dbPath` and renamed over it when
// complete, so `dbPath` holds either what it held before or a whole new list, and
// no other file is changed. The new file is removed after a failure.
bool CreateListFile(const QString &dbPath, const QString &schemaPath, QString *error);

} // namespace SchemaBuilder
