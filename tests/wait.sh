# Sourced by the shell tests. wait_for COMMAND...: runs the command every 0.1 s until it
# succeeds, for as long as a loaded machine may need (30 s); fails after that.
wait_for() {
    tries=300
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}
