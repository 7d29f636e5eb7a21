# Sourced by the Wine test scripts once $loader and $WINEPREFIX are set: a prefix of the
# loader's width, no Mono or Gecko prompts, no debug chatter.
case "$loader" in
*64) export WINEARCH=win64 ;;
*) export WINEARCH=win32 ;;
esac
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
