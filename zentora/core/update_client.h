// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The update check and the usage report: one plain HTTP GET each to the maker's server, made
// on a short-lived thread of its own so that start-up never waits for the network. Neither
// retries nor reports a failure; without a server both simply end.
#include <functional>
#include <string>
#include <string_view>

namespace zentora {

// The server all requests go to, unless the environment variable ZENTORA_SERVER names another.
// The host lies under the reserved "invalid" domain: no third party ever receives a request.
inline constexpr const char* kUpdateServer = "http://update.zentora.invalid/";
inline constexpr const char* kUpdateUserAgent =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1)";
inline constexpr const char* kUpdateCheckPath = "zentora/ver.php?ver=2.2.2&trial=0";
// The longest part of the answer that is read, bytes.
inline constexpr std::size_t kUpdateAnswerLimit = 63;

enum class UpdateAnswer {
  None,      // no news (any other answer, or no answer at all)
  Notice,    // "_tell": a newer version exists
  Required,  // "_must": this version is withdrawn; the program ends after the notice
};

// $ZENTORA_SERVER when set and not empty, else kUpdateServer; always ending in "/".
std::string UpdateServerBase();
// "zentora/usageLog.php?ver=2.2.2&os=MAJOR.MINOR" with the running kernel's version numbers.
std::string UsageReportPath();
// The meaning of the start of the answer's body (at most kUpdateAnswerLimit bytes, up to the
// first zero byte): only a marker at the very start counts.
UpdateAnswer ClassifyUpdateAnswer(std::string_view body);

// Blocking request, on the calling thread.
UpdateAnswer CheckForUpdate(const std::string& serverBase);
// Blocking request, on the calling thread; the answer is ignored.
void SendUsageReport(const std::string& serverBase);

// Starts the update check on a thread of its own that is not waited for. `post` is called ON
// THAT THREAD, only for Notice or Required; it must hand the answer to the user-interface thread.
void StartUpdateCheck(const std::string& serverBase, std::function<void(UpdateAnswer)> post);
// Starts the usage report on a thread of its own that is not waited for.
void StartUsageReport(const std::string& serverBase);

}  // namespace zentora
