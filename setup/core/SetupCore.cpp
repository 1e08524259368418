// The setup core library; its units live beside this file.
