# The picture files that tools/render_windows_pictures.cpp draws: vardelle.rc embeds them, and
# the installer shows the last two.
set(VARDELLE_WINDOWS_PICTURE_FILES
    vardelle.ico
    tab_servers.bmp
    tab_global.bmp
    tab_help.bmp
    refresh.bmp
    row_icons.bmp
    logo.bmp
    donation_qr.bmp
    installer_side.bmp
    installer_header.bmp)
