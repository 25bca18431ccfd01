#include "engine/wipe_scheme.h"

#include <algorithm>

namespace nullora {

std::optional<WipeScheme> SchemeFromText(const std::string& opMethod) {
  if (opMethod.size() != 1 || opMethod[0] < '0' || opMethod[0] > '4') return std::nullopt;
  return static_cast<WipeScheme>(opMethod[0] - '0');
}

const char* SchemeJobName(WipeScheme scheme) {
  switch (scheme) {
    case WipeScheme::OneRandomPass:
      return "One Random Pass";
    case WipeScheme::DodScheme:
      return "U.S DoD 5200,28-STD";
    case WipeScheme::GutmannScheme:
      return "Gutmann";
    case WipeScheme::CustomScheme:
      return "Custom";
    case WipeScheme::DeleteOnly:
      return "Delete Only";
  }
  return "";
}

const char* SchemeListName(WipeScheme scheme) {
  return scheme == WipeScheme::DeleteOnly ? "Delete Only (Not overwriting files)" : SchemeJobName(scheme);
}

std::optional<int> SchemeProposedPasses(WipeScheme scheme) {
  switch (scheme) {
    case WipeScheme::OneRandomPass:
      return 1;
    case WipeScheme::DodScheme:
      return 7;
    case WipeScheme::GutmannScheme:
      return 35;
    case WipeScheme::CustomScheme:
      return std::nullopt;
    case WipeScheme::DeleteOnly:
      return 0;
  }
  return std::nullopt;
}

int SchemePasses(WipeScheme scheme, int storedPasses) {
  switch (scheme) {
    case WipeScheme::OneRandomPass:
      return 1;
    case WipeScheme::DodScheme:
    case WipeScheme::CustomScheme:
      return std::max(storedPasses, 1);
    case WipeScheme::GutmannScheme:
      return 35;
    case WipeScheme::DeleteOnly:
      return 0;
  }
  return 0;
}

int ShownPasses(std::optional<WipeScheme> scheme, int storedPasses) {
  if (scheme == WipeScheme::DodScheme || scheme == WipeScheme::CustomScheme) {
    return SchemePasses(*scheme, storedPasses);
  }
  return storedPasses;
}

}  // namespace nullora
