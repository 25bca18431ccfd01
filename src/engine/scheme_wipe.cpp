#include "engine/scheme_wipe.h"

#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "engine/pass_wipe.h"
#include "engine/wipe_target.h"

namespace nullora {

WipeResult WipeWithScheme(const std::string& path, WipeScheme scheme, int storedPasses,
                          WipeProgress* progress, Gutmann* gutmann) {
  switch (scheme) {
    case WipeScheme::OneRandomPass:
    case WipeScheme::CustomScheme:
    case WipeScheme::DeleteOnly:
      return PassWipeFile(path, SchemePasses(scheme, storedPasses), progress);
    case WipeScheme::DodScheme:
      return DodWipeFile(path, SchemePasses(scheme, storedPasses), progress);
    case WipeScheme::GutmannScheme:
      if (gutmann) return gutmann->SecureFileDelete(path);
      Gutmann own;
      own.progress = progress;
      return own.SecureFileDelete(path);
  }
  return NotOverwritten(platform::IoError::Other);
}

}  // namespace nullora
