// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Web addresses the menus and dialogs open. They lie under the reserved "example" domain until
// the product has pages of its own; the advertisement page comes from the update server.

namespace zentora::web {

inline constexpr const char* kProductPage = "http://www.zentora.example/";
inline constexpr const char* kBlog = "http://blog.zentora.example/";
inline constexpr const char* kToolsPage = "http://www.zentora.example/tools/";
inline constexpr const char* kNewBrandPage = "http://www.kestavin.example/";
inline constexpr const char* kDownloadPage = "http://www.zentora.example/download/";
// Relative to the update server's base.
inline constexpr const char* kAdvertPath = "zentora/ad.php?ver=2.2.2";

}  // namespace zentora::web
