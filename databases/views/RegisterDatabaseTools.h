#pragma once
// Connects the database tools to the main window's Tools menu: Fasta Index, Fasta Database
// Indexer, Enzyme Editor and Fasta Database Utilities. Call once at start-up.

#include <functional>
#include <memory>

class QWidget;

namespace zar {

class InvalidParamsPrompt;

void RegisterDatabaseTools();

// Makes the prompt the database indexer asks when "buildix.params" is unusable. Until one is
// set, a message box offers the three choices.
using InvalidParamsPromptFactory = std::function<std::unique_ptr<InvalidParamsPrompt>(QWidget*)>;
void SetDatabaseToolsParamsPrompt(InvalidParamsPromptFactory factory);

}  // namespace zar
