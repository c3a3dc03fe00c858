#pragma once

class Connection;

// Realistic, repeatable demo customers for trying the program and for benchmarks.
namespace DemoData {
// Inserts `customers` customers, each with contact persons, contact, service and sometimes other
// records. The database must hold the code lists of InitialContents (codes 1..n). The same count
// always gives the same rows. Runs inside the caller's transaction (without one every row commits
// by itself and a large fill is very slow); throws DbError.
void fill(Connection& connection, int customers);
}
