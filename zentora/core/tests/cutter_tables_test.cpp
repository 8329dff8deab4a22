// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/cutter_tables.h"

#include <gtest/gtest.h>

#include <ostream>

#include <set>

#include "zentora/core/text_table.h"

namespace zentora {
namespace {

constexpr auto kStopped = PlayState::Stopped;
constexpr auto kPaused = PlayState::Paused;
constexpr auto kPlaying = PlayState::Playing;

struct StateRow {
  const char* name;
  CutterSnapshot state;
  int strip;
  std::set<int> enabledButtons;
  int playTooltip;
  int abTooltip;
  int abMenuText;
  int status;
};
void PrintTo(const StateRow& r, std::ostream* os) {
  *os << r.name;
}

const std::set<int> kActive = {kCmdOpen, kCmdPlayPause, kCmdJumpBack, kCmdJumpForward, kCmdABKey};
std::set<int> With(std::set<int> base, std::initializer_list<int> more) {
  base.insert(more);
  return base;
}

class PerState : public ::testing::TestWithParam<StateRow> {};

TEST_P(PerState, ToolbarStripButtonsTooltipsAndStatus) {
  const StateRow& r = GetParam();
  EXPECT_EQ(ToolbarStrip(r.state), r.strip);
  for (const ToolbarSlot& slot : kToolbarLayout) {
    if (slot.command == 0) continue;
    EXPECT_EQ(ToolbarButtonEnabled(slot.command, r.state),
              r.enabledButtons.count(slot.command) == 1)
        << "button " << slot.command;
  }
  EXPECT_EQ(ToolbarTooltip(kCmdPlayPause, r.state), r.playTooltip);
  EXPECT_EQ(ToolbarTooltip(kCmdABKey, r.state), r.abTooltip);
  EXPECT_STREQ(OperationMenuItem(kCmdABKey, r.state).text, LoadText(r.abMenuText));
  EXPECT_EQ(StatusTextFor(r.state), r.status);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PerState,
    ::testing::Values(
        StateRow{
            "NothingLoaded", {false, kStopped, -1, -1, false}, 143, {kCmdOpen}, 128, 132, 123, 116},
        StateRow{"Stopped",
                 {true, kStopped, -1, -1, false},
                 143,
                 {kCmdOpen, kCmdPlayPause},
                 128,
                 132,
                 123,
                 120},
        StateRow{
            "PausedNoPoints", {true, kPaused, -1, -1, false}, 143, kActive, 128, 132, 123, 119},
        StateRow{"PausedA",
                 {true, kPaused, 10, -1, false},
                 144,
                 With(kActive, {kCmdAPlus, kCmdAMinus}),
                 128,
                 133,
                 124,
                 119},
        StateRow{"PausedAB",
                 {true, kPaused, 10, 900, false},
                 145,
                 With(kActive, {kCmdAPlus, kCmdAMinus, kCmdBPlus, kCmdBMinus, kCmdCut}),
                 128,
                 134,
                 125,
                 119},
        StateRow{
            "PlayingNoPoints", {true, kPlaying, -1, -1, false}, 140, kActive, 129, 132, 123, 118},
        StateRow{"PlayingA",
                 {true, kPlaying, 0, -1, false},
                 141,
                 With(kActive, {kCmdAPlus, kCmdAMinus}),
                 129,
                 133,
                 124,
                 118},
        StateRow{"PlayingAB",
                 {true, kPlaying, 0, 0, false},
                 139,
                 With(kActive, {kCmdAPlus, kCmdAMinus, kCmdBPlus, kCmdBMinus, kCmdCut}),
                 129,
                 134,
                 125,
                 118}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OperationMenu, EnablingFollowsTheState) {
  const CutterSnapshot none{false, kStopped, -1, -1, false};
  const CutterSnapshot stopped{true, kStopped, -1, -1, false};
  const CutterSnapshot playingA{true, kPlaying, 100, -1, true};
  const CutterSnapshot pausedAB{true, kPaused, 100, 400, false};

  EXPECT_FALSE(OperationMenuItem(kCmdPlayPause, none).enabled);
  EXPECT_TRUE(OperationMenuItem(kCmdPlayPause, stopped).enabled);
  EXPECT_STREQ(OperationMenuItem(kCmdPlayPause, stopped).text, "播放 \t ↓");
  EXPECT_STREQ(OperationMenuItem(kCmdPlayPause, playingA).text, "暂停 \t ↓");
  for (int id : {kCmdStop, kCmdJumpForward, kCmdJumpBack, kCmdHome, kCmdEnd, kCmdABKey}) {
    EXPECT_FALSE(OperationMenuItem(id, stopped).enabled) << id;
    EXPECT_TRUE(OperationMenuItem(id, playingA).enabled) << id;
  }
  EXPECT_EQ(OperationMenuItem(kCmdStop, playingA).text, nullptr);
  EXPECT_FALSE(OperationMenuItem(kCmdCut, playingA).enabled);
  EXPECT_TRUE(OperationMenuItem(kCmdCut, pausedAB).enabled);
  EXPECT_TRUE(OperationMenuItem(kCmdAPlus, playingA).enabled);
  EXPECT_TRUE(OperationMenuItem(kCmdAMinus, playingA).enabled);
  EXPECT_FALSE(OperationMenuItem(kCmdBPlus, playingA).enabled);
  EXPECT_FALSE(OperationMenuItem(kCmdBMinus, playingA).enabled);
  EXPECT_TRUE(OperationMenuItem(kCmdBMinus, pausedAB).enabled);
  EXPECT_STREQ(OperationMenuItem(kCmdOnTop, playingA).text, "取消窗口置顶");
  EXPECT_STREQ(OperationMenuItem(kCmdOnTop, none).text, "窗口置顶");
  EXPECT_TRUE(OperationMenuItem(kCmdOnTop, none).enabled);
}

TEST(Toolbar, LayoutAndFixedTooltips) {
  int buttons = 0;
  int image = 0;
  for (const ToolbarSlot& slot : kToolbarLayout) {
    if (slot.command == 0) continue;
    EXPECT_EQ(slot.image, image++) << "images follow button order";
    ++buttons;
  }
  EXPECT_EQ(buttons, 10);
  const CutterSnapshot any{true, kPlaying, 1, 2, false};
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdOpen, any)), "打开mp3文件");
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdCut, any)), "将ab部分剪切到…（Tab）");
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdJumpBack, any)), "向后跳跃（←）");
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdJumpForward, any)), "向前跳跃（→）");
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdAPlus, any)), "ab点微调：a+");
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdAMinus, any)), "ab点微调：a-");
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdBPlus, any)), "ab点微调：b+");
  EXPECT_STREQ(LoadText(ToolbarTooltip(kCmdBMinus, any)), "ab点微调：b-");
}

}  // namespace
}  // namespace zentora
