// The five wipe schemes and their names.
#pragma once

#include <optional>
#include <string>

namespace nullora {

enum class WipeScheme {
  OneRandomPass = 0,
  DodScheme = 1,
  GutmannScheme = 2,
  CustomScheme = 3,
  DeleteOnly = 4
};

// The scheme an OpMethod text selects: exactly "0" to "4", nothing else (" 1" and "01" are none).
std::optional<WipeScheme> SchemeFromText(const std::string& opMethod);
// The name a job dialog shows ("U.S DoD 5200,28-STD", "Delete Only"...).
const char* SchemeJobName(WipeScheme scheme);
// The name in the options dialog's list ("Delete Only (Not overwriting files)"...).
const char* SchemeListName(WipeScheme scheme);
// The passes the options dialog proposes when the scheme is picked; none for Custom.
std::optional<int> SchemeProposedPasses(WipeScheme scheme);
// The passes a scheme really writes for the stored count: One Random Pass one, Gutmann its 35, Delete
// Only none; DoD and Custom the stored count, but never fewer than one. A count below one (hand-edited,
// or left by an older options dialog) must not turn a wipe into a plain deletion.
int SchemePasses(WipeScheme scheme, int storedPasses);
// The passes shown in a job's scheme line: the count a DoD or Custom wipe uses, the stored count for the
// other schemes (which do not use it).
int ShownPasses(std::optional<WipeScheme> scheme, int storedPasses);

}  // namespace nullora
