// The five wipe schemes and their names.
#pragma once

#include <optional>
#include <string>

namespace nullora {

enum class WipeScheme { OneRandomPass = 0, DodScheme = 1, GutmannScheme = 2, CustomScheme = 3, DeleteOnly = 4 };

// The scheme an OpMethod text selects: exactly "0" to "4", nothing else (" 1" and "01" are none).
std::optional<WipeScheme> SchemeFromText(const std::string& opMethod);
// The name a job dialog shows ("U.S DoD 5200,28-STD", "Delete Only"...).
const char* SchemeJobName(WipeScheme scheme);
// The name in the options dialog's list ("Delete Only (Not overwriting files)"...).
const char* SchemeListName(WipeScheme scheme);
// The passes the options dialog proposes when the scheme is picked; none for Custom.
std::optional<int> SchemeProposedPasses(WipeScheme scheme);

}  // namespace nullora
