#include "command/CCommandProcessor.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// A command that writes what happens to it into a shared log and can be told
// to fail its next Do or Undo.
struct Journal {
    std::vector<std::string> events;
    int alive = 0;
};

class LoggedCommand : public CCommand {
  public:
    LoggedCommand(Journal& journal, std::string name) : log(journal), id(std::move(name)) {
        ++log.alive;
    }
    ~LoggedCommand() override {
        --log.alive;
        log.events.push_back("~" + id);
    }
    void Do() override { Run("do"); }
    void Undo() override { Run("undo"); }

    bool failNext = false;

  private:
    void Run(const char* what) {
        if (failNext) {
            failNext = false;
            throw std::runtime_error(id + " failed");
        }
        log.events.push_back(what + (" " + id));
    }

    Journal& log;
    std::string id;
};

class CommandProcessorTest : public ::testing::Test {
  protected:
    LoggedCommand* Submit(const std::string& name, bool fail = false) {
        auto command = std::make_unique<LoggedCommand>(journal, name);
        LoggedCommand* raw = command.get();
        raw->failNext = fail;
        processor.Submit(std::move(command));
        return raw;
    }
    std::vector<std::string> TakeEvents() { return std::exchange(journal.events, {}); }

    Journal journal;
    CCommandProcessor processor;
};

using Events = std::vector<std::string>;

TEST_F(CommandProcessorTest, UndoAndRedoRunTheSameCommandsInStackOrder) {
    EXPECT_FALSE(processor.CanUndo());
    EXPECT_FALSE(processor.CanRedo());
    Submit("a");
    Submit("b");
    processor.Undo();
    processor.Undo();
    EXPECT_FALSE(processor.CanUndo());
    EXPECT_TRUE(processor.CanRedo());
    processor.Redo();
    processor.Undo();
    processor.Redo();
    processor.Redo();
    EXPECT_FALSE(processor.CanRedo());
    EXPECT_EQ(TakeEvents(),
              (Events{"do a", "do b", "undo b", "undo a", "do a", "undo a", "do a", "do b"}));
    EXPECT_EQ(journal.alive, 2);
}

TEST_F(CommandProcessorTest, NewCommandDeletesEveryUndoneCommand) {
    Submit("a");
    Submit("b");
    Submit("c");
    processor.Undo();
    processor.Undo();
    TakeEvents();
    Submit("d");
    // The undone commands die, newest first, after the new one has run.
    EXPECT_EQ(TakeEvents(), (Events{"do d", "~b", "~c"}));
    EXPECT_FALSE(processor.CanRedo());
    processor.Undo();
    processor.Undo();
    EXPECT_FALSE(processor.CanUndo());
    EXPECT_EQ(TakeEvents(), (Events{"undo d", "undo a"}));
}

TEST_F(CommandProcessorTest, FailedSubmitLeavesHistoryAndDestroysTheCommand) {
    Submit("a");
    Submit("b");
    processor.Undo();
    TakeEvents();
    EXPECT_THROW(Submit("x", true), std::runtime_error);
    EXPECT_EQ(TakeEvents(), (Events{"~x"}));
    EXPECT_EQ(journal.alive, 2);
    // The redo history survived the failed change.
    ASSERT_TRUE(processor.CanRedo());
    processor.Redo();
    processor.Undo();
    processor.Undo();
    EXPECT_FALSE(processor.CanUndo());
    EXPECT_EQ(TakeEvents(), (Events{"do b", "undo b", "undo a"}));
}

TEST_F(CommandProcessorTest, CommandThatFailsUndoOrRedoStaysInItsList) {
    LoggedCommand* a = Submit("a");
    LoggedCommand* b = Submit("b");
    TakeEvents();

    b->failNext = true;
    EXPECT_THROW(processor.Undo(), std::runtime_error);
    EXPECT_FALSE(processor.CanRedo());
    processor.Undo();  // the same command again, now succeeding
    EXPECT_EQ(TakeEvents(), (Events{"undo b"}));

    processor.Undo();
    a->failNext = true;
    EXPECT_THROW(processor.Redo(), std::runtime_error);
    EXPECT_FALSE(processor.CanUndo());
    processor.Redo();
    processor.Redo();
    EXPECT_EQ(TakeEvents(), (Events{"undo a", "do a", "do b"}));
    EXPECT_EQ(journal.alive, 2);
}

TEST_F(CommandProcessorTest, ClearDeletesEverythingNewestFirst) {
    processor.Clear();  // nothing to do
    Submit("a");
    Submit("b");
    Submit("c");
    processor.Undo();
    TakeEvents();
    processor.Clear();
    EXPECT_EQ(TakeEvents(), (Events{"~c", "~b", "~a"}));
    EXPECT_FALSE(processor.CanUndo());
    EXPECT_FALSE(processor.CanRedo());
}

TEST_F(CommandProcessorTest, LongHistoryKeepsEveryCommand) {
    constexpr int kCount = 20000;
    for (int i = 0; i < kCount; ++i) {
        Submit("c");
    }
    int undone = 0;
    while (processor.CanUndo()) {
        processor.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, kCount);
}

TEST(CommandProcessor, DestructionDeletesAllCommands) {
    Journal journal;
    {
        CCommandProcessor processor;
        processor.Submit(std::make_unique<LoggedCommand>(journal, "a"));
        processor.Submit(std::make_unique<LoggedCommand>(journal, "b"));
        processor.Undo();
    }
    EXPECT_EQ(journal.alive, 0);
}

}  // namespace
