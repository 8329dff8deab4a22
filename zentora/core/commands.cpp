// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/commands.h"

namespace zentora {

const char* MenuText(int commandId) {
  switch (commandId) {
    case kCmdAbout:
      return "关于";
    case kCmdExit:
      return "退出";
    case kCmdOpen:
      return "打开mp3文件… \t 支持拖放操作";
    case kCmdPlayPause:
      return "播放 \t ↓";
    case kCmdStop:
      return "停止 \t F4";
    case kCmdJumpForward:
      return "向前跳跃 \t →";
    case kCmdJumpBack:
      return "向后跳跃 \t ←";
    case kCmdABKey:
      return "设置a点 \t ab点定位键“↑”";
    case kCmdCut:
      return "将ab部分剪切到… \t Tab";
    case kCmdHome:
      return "跳到文件头 \t Home";
    case kCmdEnd:
      return "跳到文件尾 \t End";
    case kCmdAPlus:
      return "a+";
    case kCmdAMinus:
      return "a-";
    case kCmdBPlus:
      return "b+";
    case kCmdBMinus:
      return "b-";
    case kCmdProductSite:
      return "产品官网";
    case kCmdBlog:
      return "访问博客";
    case kCmdOnTop:
      return "窗口置顶";
    case kCmdNewBrand:
      return "新品牌名：Kestavin";
    default:
      return nullptr;
  }
}

}  // namespace zentora
