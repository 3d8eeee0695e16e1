. "$(dirname "$0")/lib.sh"
e2e_init
panel_start || echo nostart; probe layout "$E2E_TITLE" | head -2
sleep 3
screenshot "$E2E_TITLE" /tmp/dbg-main.png
probe layout "$E2E_TITLE" 2>/dev/null | head -3
e2e_finish
