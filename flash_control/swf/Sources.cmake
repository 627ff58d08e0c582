# The engine's sources, relative to this folder; shared by the project build and the native fuzz
# and benchmark builds.
set(QV_SWF_SOURCE_NAMES
  Player.cpp
  format/Geometry.cpp
  format/Inflate.cpp
  format/Movie.cpp
  format/Reader.cpp
  format/Shape.cpp
  raster/Blend.cpp
  raster/Painter.cpp
  raster/Path.cpp
  raster/Rasterizer.cpp
  raster/Stroker.cpp
  runtime/Bounds.cpp
  runtime/Buttons.cpp
  runtime/DisplayObject.cpp
  runtime/Properties.cpp
  runtime/RenderList.cpp
  runtime/Stage.cpp
  script/Interpreter.cpp
  script/Object.cpp
  script/Value.cpp)
list(TRANSFORM QV_SWF_SOURCE_NAMES PREPEND ${CMAKE_CURRENT_LIST_DIR}/ OUTPUT_VARIABLE QV_SWF_SOURCES)
