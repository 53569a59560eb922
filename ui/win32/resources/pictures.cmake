# The picture files that tools/render_windows_pictures.cpp draws: vardelle.rc embeds them, and
# the installer shows the two installer_ ones. The window's pictures come once for each DPI
# of picture_sets.h, in a folder named by it.
set(VARDELLE_WINDOWS_PICTURE_DPIS 96 120 144 192)
set(VARDELLE_WINDOWS_PICTURE_FILES
    vardelle.ico
    installer_side.bmp
    installer_header.bmp)
foreach(dpi IN LISTS VARDELLE_WINDOWS_PICTURE_DPIS)
  foreach(name IN ITEMS tab_servers tab_global tab_help refresh row_icons logo donation_qr)
    list(APPEND VARDELLE_WINDOWS_PICTURE_FILES ${dpi}/${name}.bmp)
  endforeach()
endforeach()
