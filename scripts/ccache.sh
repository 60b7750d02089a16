# Sourced by the build scripts. Sets `launcher` to the CMake arguments that build through
# ccache where it is installed: paths relative to the checkout and the build folder left
# out of the hash, so a second clone of the tree (CI's, a worktree) finds what the first
# one compiled.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
