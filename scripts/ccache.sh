# Sourced by the build scripts: compile through ccache, kept in ~/.cache outside the
# checkout, so that a second build (or a build of another clone of the same sources)
# recompiles only what changed. Sets `launcher` to the CMake arguments that use it.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
  # Paths under the checkout are hashed relative to it, so two clones share hits.
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
  ccache --max-size=5G >/dev/null
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
