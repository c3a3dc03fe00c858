#pragma once

class Connection;

// Rows a new installation ships with: the field dictionary and its first layout, the code lists,
// the administrator, tree levels, sort orders, query fields and quick values.
namespace InitialContents {
// Inserts the rows into an empty database. Runs inside the caller's transaction; throws DbError.
void fill(Connection& connection);
}
