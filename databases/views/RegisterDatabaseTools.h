#pragma once
// Connects the database tools to the main window's Tools menu: Fasta Index, Fasta Database
// Indexer, Enzyme Editor and Fasta Database Utilities. Call once at start-up.

namespace zar {

void RegisterDatabaseTools();

}  // namespace zar
