# Read by cpack when it makes a package: the texts written at build time from the version block,
# and a refusal to package a build that has the sanitizers compiled in.
if(CPACK_SUNDREL_SANITIZE)
  message(FATAL_ERROR "This build has AddressSanitizer and UBSan compiled in. Make the package "
                      "from a build configured without -DSUNDREL_SANITIZE=ON.")
endif()
if(NOT EXISTS "${CPACK_SUNDREL_TEXTS}")
  message(FATAL_ERROR "${CPACK_SUNDREL_TEXTS} is missing: build the project before packaging it.")
endif()
include("${CPACK_SUNDREL_TEXTS}")
# Without the Wayland platform plugin Qt runs Sundrel through XWayland in a Wayland session;
# without the GTK platform theme a GNOME user gets Qt's own file chooser and font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-gtk-platformtheme")
