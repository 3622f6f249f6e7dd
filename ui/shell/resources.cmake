# The program's own icons (ui/icons/*.svg), compiled into the screens' library
# as Qt resources; Icons::Get() reads them. Listed one by one in ui/icons.qrc.
target_sources(quorvel_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/icons.qrc)
