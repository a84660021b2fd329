#pragma once

#include <string_view>

// The repertoires of the East Asian double-byte character sets, as the C library's codecs decode
// every valid two-byte code (tools/make-cjk-sets writes cjk_set_tables.cpp); private-use codes
// are left out. Each is a run list packed by packed_code_runs.h.
namespace tessavine::pgf::cjk_tables {

extern const std::string_view kJis0208;                    // 6,879: EUC-JP's two-byte codes
extern const std::string_view kWindowsJapaneseExtensions;  // 453: what CP932 adds to JIS X 0208
extern const std::string_view kGb2312;                     // 7,445: EUC-CN
extern const std::string_view kBig5;                       // 13,493
extern const std::string_view kKsx1001;                    // 8,227: EUC-KR

}  // namespace tessavine::pgf::cjk_tables
