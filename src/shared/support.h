// Where users get help: the support forum and the support e-mail address. The values to set for a
// release (README: "Support addresses"); until then addresses of the reserved example domain.
#pragma once

namespace nullora {

inline constexpr char kSupportForumUrl[] = "https://forum.example.org/nullora";
inline constexpr char kSupportEmail[] = "support@example.org";
// The subject of a support e-mail.
inline constexpr char kSupportSubject[] = "Nullora v2.0";

}  // namespace nullora
