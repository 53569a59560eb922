# The picture files that tools/render_windows_pictures.cpp draws and vardelle.rc embeds.
set(VARDELLE_WINDOWS_PICTURE_FILES
    vardelle.ico
    tab_servers.bmp
    tab_global.bmp
    tab_help.bmp
    refresh.bmp
    row_icons.bmp
    logo.bmp
    donation_qr.bmp)
