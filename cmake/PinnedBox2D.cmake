# Box2D built with the game, static, from the source that
# scripts/fetch-box2d.sh unpacks from Debian's source package. A run's replay
# depends on every bit of the physics, so the game cannot take whatever Box2D
# library a machine has: Debian's arm64 build fuses multiply-adds and replays
# differently from amd64.
#
# Defines rollavortex_box2d (also as box2d::box2d) and ROLLAVORTEX_BOX2D_OWN_SOURCES,
# the game's files built into it, which no other target may build again.

set(ROLLAVORTEX_BOX2D_SOURCE_DIR "${PROJECT_SOURCE_DIR}/external/box2d-2.4.1"
    CACHE PATH "Box2D 2.4.1 source folder, patched with cmake/box2d-deterministic-trig.patch")

set(box2dMath "${ROLLAVORTEX_BOX2D_SOURCE_DIR}/include/box2d/b2_math.h")
if(NOT EXISTS "${box2dMath}")
    message(FATAL_ERROR "No Box2D source in ${ROLLAVORTEX_BOX2D_SOURCE_DIR}: run scripts/install-deps.sh")
endif()
# Unpatched, Box2D would still build and quietly take the C library's sine.
file(STRINGS "${box2dMath}" patchedLines REGEX "b2SinCos\\(angle, ")
if(NOT patchedLines)
    message(FATAL_ERROR "Box2D in ${ROLLAVORTEX_BOX2D_SOURCE_DIR} lacks "
                        "cmake/box2d-deterministic-trig.patch: run scripts/install-deps.sh")
endif()

# The rope and the profile timer stay out: the game uses no rope, and
# src/sim/physics/NoTimer.cpp stands in for the timer.
file(GLOB box2dSources
    "${ROLLAVORTEX_BOX2D_SOURCE_DIR}/src/collision/*.cpp"
    "${ROLLAVORTEX_BOX2D_SOURCE_DIR}/src/common/*.cpp"
    "${ROLLAVORTEX_BOX2D_SOURCE_DIR}/src/dynamics/*.cpp")
list(REMOVE_ITEM box2dSources "${ROLLAVORTEX_BOX2D_SOURCE_DIR}/src/common/b2_timer.cpp")
# Box2D's own warnings are not ours to fix, and must not fail a -Werror build.
set_source_files_properties(${box2dSources} PROPERTIES COMPILE_OPTIONS "-w;-O3;-fno-math-errno")

set(ROLLAVORTEX_BOX2D_OWN_SOURCES
    "${PROJECT_SOURCE_DIR}/src/sim/physics/DeterministicTrig.cpp"
    "${PROJECT_SOURCE_DIR}/src/sim/physics/NoTimer.cpp")

add_library(rollavortex_box2d STATIC ${box2dSources} ${ROLLAVORTEX_BOX2D_OWN_SOURCES})
add_library(box2d::box2d ALIAS rollavortex_box2d)
target_include_directories(rollavortex_box2d SYSTEM PUBLIC "${ROLLAVORTEX_BOX2D_SOURCE_DIR}/include")
target_include_directories(rollavortex_box2d PRIVATE
    "${ROLLAVORTEX_BOX2D_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/src")
# Public, so everything that uses Box2D, its inline header code included, does
# its arithmetic the same way on every machine: no fused multiply-adds, no
# fast-math reordering. -fno-fast-math comes first, as it sets clang's
# contraction back to its default.
target_compile_options(rollavortex_box2d PUBLIC -fno-fast-math -ffp-contract=off)
set_target_properties(rollavortex_box2d PROPERTIES POSITION_INDEPENDENT_CODE ON)
