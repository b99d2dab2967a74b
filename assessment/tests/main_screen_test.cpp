// The main screen's commands: the way to the screens, the working directory and help.
