# The pure sources of the object model and form data (no Windows header), shared by the cross build
# and the native fuzz targets (fuzz/). Their one system dependency, the code page conversions of
# SysUtils.h, is CodePages.cpp here and a stand-in there.
set(QV_FORM_DATA_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Classes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Collections.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Components.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Lists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Streams.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SysUtils.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TypInfo.cpp)
