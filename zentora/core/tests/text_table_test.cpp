// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/text_table.h"

#include <gtest/gtest.h>

#include "zentora/core/commands.h"

namespace zentora {
namespace {

TEST(TextTable, HoldsEveryLoadedId) {
  // The ids start-up loads and the toolbar's tooltips.
  for (int id : {103, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,
                 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138,
                 139, 140, 141, 145, 146, 147, 148, 149, 150, 151, 152, 153, 154}) {
    EXPECT_STRNE(LoadText(id), "") << id;
  }
  EXPECT_STREQ(LoadText(142), "");
  EXPECT_STREQ(LoadText(0), "");
}

TEST(TextTable, ExactTexts) {
  EXPECT_STREQ(LoadText(103), "Zentora 2.2.2 （对mp3进行ab剪切）");
  EXPECT_STREQ(LoadText(110),
               "使用提示：按定位键“↑”设好a点、b点后，即开始在ab间复读，按“Tab”键进行剪切，再次按“↑”"
               "键取消a点、b点。");
  EXPECT_STREQ(LoadText(125), "取消ab点 \t ab点定位键“↑”");
  EXPECT_STREQ(LoadText(149), "新品牌名：Kestavin");
}

TEST(TextTable, FormatFillsConversionsInOrder) {
  EXPECT_EQ(FormatText(146, {"200"}), "ab点间隔不能小于200毫秒");
  EXPECT_EQ(FormatText(153, {"/x/options.ini", "Permission denied"}),
            "读文件失败：\n/x/options.ini\n\nPermission denied");
  EXPECT_EQ(FormatText(152, {"a b.mp3"}), "a b.mp3 已存在。\r\n要替换它吗？");
  EXPECT_EQ(FormatText(111, {"50%"}), "载入失败：\r\n50%") << "arguments are not re-read";
  EXPECT_EQ(FormatText(111, {}), "载入失败：\r\n");
}

TEST(Commands, MenuTextsHaveTabsAroundTheKey) {
  EXPECT_STREQ(MenuText(kCmdOpen), "打开mp3文件… \t 支持拖放操作");
  EXPECT_STREQ(MenuText(kCmdStop), "停止 \t F4");
  EXPECT_STREQ(MenuText(kCmdCut), "将ab部分剪切到… \t Tab");
  EXPECT_STREQ(MenuText(kCmdHome), "跳到文件头 \t Home");
  EXPECT_EQ(MenuText(kCmdSample), nullptr);
  EXPECT_EQ(kAccelerators.size(), 8u);
}

}  // namespace
}  // namespace zentora
