// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/text_table.h"

#include <algorithm>
#include <array>

namespace zentora {
namespace {

struct Entry {
  int id;
  const char* text;
};

// The string table, sorted by id.
constexpr std::array<Entry, 43> kTexts = {{
    {103, "Zentora 2.2.2 （对mp3进行ab剪切）"},
    {110,
     "使用提示：按定位键“↑”设好a点、b点后，即开始在ab间复读，按“Tab”键进行剪切，再次按“↑”键取消a点"
     "、"
     "b点。"},
    {111, "载入失败：\r\n%s"},
    {112, "播放失败：\r\n%s"},
    {113, "文件有缺失，请重装本软件"},
    {114, "文件有缺失，请重新安装 Zentora"},
    {115, "系统环境有问题，请修复或重装 DirectX"},
    {116, "还未载入mp3文件"},
    {117, "已载入mp3文件"},
    {118, "播放中…"},
    {119, "暂停播放"},
    {120, "已停止播放"},
    {121, "播放 \t ↓"},
    {122, "暂停 \t ↓"},
    {123, "设置a点 \t ab点定位键“↑”"},
    {124, "设置b点 \t ab点定位键“↑”"},
    {125, "取消ab点 \t ab点定位键“↑”"},
    {126, "此版本已被废弃"},
    {127, "已发布新版本"},
    {128, "播放（↓）"},
    {129, "暂停（↓）"},
    {130, "向后跳跃（←）"},
    {131, "向前跳跃（→）"},
    {132, "设置a点（ab点定位键“↑”）"},
    {133, "设置b点（ab点定位键“↑”）"},
    {134, "取消ab点（ab点定位键“↑”）"},
    {135, "打开mp3文件"},
    {136, "将ab部分剪切到…（Tab）"},
    {137, "ab点微调：a+"},
    {138, "ab点微调：a-"},
    {139, "ab点微调：b+"},
    {140, "ab点微调：b-"},
    {141, "播放异常：\r\n%s"},
    {145, "剪切完成"},
    {146, "ab点间隔不能小于%d毫秒"},
    {147, "窗口置顶"},
    {148, "取消窗口置顶"},
    {149, "新品牌名：Kestavin"},
    {150, "请不要自我覆盖"},
    {151, "文件创建失败：\r\n%S\r\n\r\n（请检查您是否有目标文件夹的写入权限）"},
    {152, "%s 已存在。\r\n要替换它吗？"},
    {153, "读文件失败：\n%s\n\n%S"},
    {154, "写文件失败：\n%s\n\n%S"},
}};

}  // namespace

const char* LoadText(int id) {
  for (const Entry& e : kTexts) {
    if (e.id == id) return e.text;
  }
  return "";
}

std::string FormatText(int id, std::initializer_list<std::string_view> args) {
  const std::string_view format = LoadText(id);
  std::string out;
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    const char conv = format[++i];
    if (conv == '%') {
      out += '%';
    } else if (conv == 's' || conv == 'S' || conv == 'd') {
      if (next != args.end()) out.append(*next++);
    } else {
      out += '%';
      out += conv;
    }
  }
  return out;
}

const char* NoAudioDeviceText() {
  return "找不到可用的音频输出设备，无法播放。\r\n请检查声卡或音频服务是否正常。";
}

const char* CutFailedText() {
  return "剪切失败：没有生成输出文件，请检查源文件和目标文件夹。";
}

const char* ToolNotFoundText() {
  return "找不到剪切或修复工具（mp3splt / mp3val）。";
}

}  // namespace zentora
