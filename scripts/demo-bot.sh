# The demonstration of run.sh: a harmless program that owns sockets (the tests' agent, under a
# name that says what it is), registered where bots register themselves, so that a newcomer sees
# what a detection looks like. Everything lives in a Wine prefix of its own and is removed again.
# Sourced by run.sh after wine-screen.sh; not a program of its own.

demo_bot_file=zorvik-demo-bot.exe
demo_bot_path='C:\ZorvikDemo\'$demo_bot_file
demo_run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
demo_run_value=ZorvikDemoBot
demo_task_name='Zorvik Demo Bot'
demo_bot_pid=

# demo_prefix BUILD: the demonstration's own X11 prefix, BUILD/wineprefix-demo.
demo_prefix() {
  screen_prefix "$1" wineprefix-demo
  demo_bot_dir=$WINEPREFIX/drive_c/ZorvikDemo
  demo_task_file=$WINEPREFIX/drive_c/windows/system32/Tasks/$demo_task_name
}

# The logon task as the Task Scheduler writes its file: UTF-16 with a byte order mark. (Wine's
# schtasks stores no command, so the file is written as Windows writes it.)
demo_task_definition() {
  printf '\xff\xfe'
  iconv -f UTF-8 -t UTF-16LE <<EOT
<?xml version="1.0" encoding="UTF-16"?>
<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">
  <RegistrationInfo><Description>Zorvik demonstration: a harmless program started at logon, as bots start</Description></RegistrationInfo>
  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>
  <Settings><Enabled>true</Enabled></Settings>
  <Actions Context="Author"><Exec>
    <Command>$demo_bot_path</Command>
    <Arguments>/logon</Arguments>
  </Exec></Actions>
</Task>
EOT
}

# plant_demo_bot BUILD: copies the agent, registers it and starts it; it connects to its own
# listener and sends, so that the system names it as the sockets' owner.
plant_demo_bot() {
  remove_demo_bot
  mkdir -p "$demo_bot_dir" "$(dirname "$demo_task_file")"
  cp "$1/zorvik_test_agent.exe" "$demo_bot_dir/$demo_bot_file"
  timeout 60 "$wine" reg add "$demo_run_key" /v "$demo_run_value" \
    /d "\"$demo_bot_path\" /startup" /f </dev/null >/dev/null 2>&1 ||
    { echo "run: the demonstration's Run value could not be written" >&2; return 1; }
  demo_task_definition >"$demo_task_file"
  "$wine" "$demo_bot_path" </dev/null >/dev/null 2>&1 &
  demo_bot_pid=$!
}

# remove_demo_bot: ends the program and removes its file, its Run value and its task. Safe to
# call when nothing is planted.
remove_demo_bot() {
  [ -n "${demo_bot_dir:-}" ] || return 0
  if [ -n "$demo_bot_pid" ]; then
    kill "$demo_bot_pid" 2>/dev/null || true
    wait "$demo_bot_pid" 2>/dev/null || true
    demo_bot_pid=
  fi
  timeout 60 "$wine" reg delete "$demo_run_key" /v "$demo_run_value" /f </dev/null >/dev/null 2>&1 || true
  rm -f "$demo_task_file"
  rm -rf "$demo_bot_dir"
  return 0
}

# demo_leftovers PREFIX: prints what of the demonstration is still in the prefix (nothing when
# clean); the Wine server of the prefix must have ended, so that its registry is on disk.
demo_leftovers() {
  local prefix=$1
  grep -l "\"$demo_run_value\"=" "$prefix/user.reg" 2>/dev/null | sed 's/$/: the Run value/'
  [ ! -e "$prefix/drive_c/windows/system32/Tasks/$demo_task_name" ] || echo "the task file"
  [ ! -e "$prefix/drive_c/ZorvikDemo" ] || echo "the program's folder"
  return 0
}
