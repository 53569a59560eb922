// The DPIs the window's pictures are drawn for at build time (100, 125, 150 and 200 %), each
// set in a folder named by its DPI. The picture of set n (from 0) has the resource number
// of the 96 DPI one + n * IDB_SET_STEP (resource_ids.h); vardelle.rc and pictures.cmake
// list the same sets.
#pragma once

namespace vardelle::win32 {

inline constexpr int kPictureSetDpis[] = {96, 120, 144, 192};

}  // namespace vardelle::win32
