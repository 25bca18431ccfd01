// Resource ids the portable core refers to; the resources themselves are in resources/nullora.rc.
#pragma once

namespace nullora::platform {

inline constexpr int kAppIcon = 1;
inline constexpr int kTreeImageFirst = 101;  // eleven tree pictures, 101 to 111
inline constexpr int kJobPicture1 = 201;
inline constexpr int kJobPicture2 = 202;

}  // namespace nullora::platform
