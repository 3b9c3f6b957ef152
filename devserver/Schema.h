#pragma once

namespace devserver {

class Database;

// Creates every table the service keeps, if missing. Safe to run at every start.
void createSchema(Database &db);

} // namespace devserver
