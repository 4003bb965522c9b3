# The imported target fltk::fltk from Debian's libfltk1.3-dev. Its own CMake
# package names a `fluid` program that the -dev package does not ship, so the
# headers and the shared library are found directly.
if(NOT TARGET fltk::fltk)
  find_path(ZORKEL_FLTK_INCLUDE_DIR FL/Fl.H REQUIRED)
  find_library(ZORKEL_FLTK_LIBRARY fltk REQUIRED)
  find_package(X11 REQUIRED)
  add_library(fltk::fltk UNKNOWN IMPORTED GLOBAL)
  set_target_properties(fltk::fltk PROPERTIES
    IMPORTED_LOCATION ${ZORKEL_FLTK_LIBRARY}
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${ZORKEL_FLTK_INCLUDE_DIR}
    INTERFACE_LINK_LIBRARIES X11::X11)
endif()
