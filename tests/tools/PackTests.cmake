# velmora-pack tests: added with the packer
