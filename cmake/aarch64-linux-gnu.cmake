# Cross-builds for 64-bit Arm Linux with Debian's aarch64 toolchain and the
# :arm64 libraries installed through multiarch (/usr/lib/aarch64-linux-gnu).
# The test programs run under qemu-user, which CTest, test discovery and the
# shell tests start them through.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# Reads the .pc files of the :arm64 packages, not the host's.
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "pkg-config for the arm64 libraries")

find_program(PELORIN_QEMU_AARCH64 qemu-aarch64-static)
if(PELORIN_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PELORIN_QEMU_AARCH64})
endif()
