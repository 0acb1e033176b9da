#include "databases/views/RegisterDatabaseTools.h"

#include "FrameCommands.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(RegisterDatabaseTools, EveryToolOfTheDatabasesAnswersItsCommand) {
    const int tools[] = {ID_TOOLS_FASTA_INDEX, ID_TOOLS_DB_INDEXER, ID_TOOLS_ENZYME_EDITOR,
                         ID_TOOLS_DB_UTILITIES};
    for (int id : tools) RegisterFrameCommand(id, nullptr);
    RegisterDatabaseTools();
    for (int id : tools) EXPECT_TRUE(HasFrameCommand(id)) << id;
    // The Tools items of other folders are not answered here.
    EXPECT_FALSE(HasFrameCommand(ID_TOOLS_SEQUENCE_EDITOR));
}
