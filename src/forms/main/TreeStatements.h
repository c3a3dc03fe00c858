#pragma once

#include "core/DataModule.h"
#include "widgets/TreeFillers.h"

#include <QString>

#include <array>

// The classification tree's levels 1..4 (index 0..3), each a column code of Q_A and its type letter.
using TreeLevels = std::array<DataModule::TreeLevel, 4>;

// The statement of the top nodes: caption, then the keys P1..P4 ("null" below level 1).
// Empty when level 1 is of no known type.
QString FirstLevelStatement(const TreeLevels& levels);

// The statement of the children of a node at depth 0..2 with the given keys; empty when the
// next level is of no known type or the depth has no next level.
QString ExpansionStatement(const TreeLevels& levels, int depth, const TreeNodeKeys& keys);

// The number of customers under each node of the nodes at depth 0..3 whose parent has the given
// keys (ignored at depth 0): rows of the node's value and its count, with the same filters as the
// level's statement. The value column is the same expression as the level statement's key column,
// so both read as the same text. Empty when the level is of no known type.
QString LevelCountStatement(const TreeLevels& levels, int depth, const TreeNodeKeys& keys);

// A node's key of a level written into SQL for a comparison with that level's column: strings
// quoted; integers, decimals and codes bare when they read as a number; a date (yyyy-mm-dd) as
// its day number.
QString TreeKeySqlValue(const QString& key, const QString& type);
