
[Projects]
Count=1
Item1=Example site
Current=Example site

[Example site]
Folder=examples/site
Home Url=http://www.trailhead-outfitters.example/
KeyCount=3
Key1=hiking boots
Key2=trail running shoes
Key3=rain jacket
CurrentKey=hiking boots
FileCount=9
File1=index.html
File2=hiking-boots.html
File3=boot-care.html
File4=clearance.html
File5=gallery.html
File6=frames.html
File7=stores.html
File8=*drafts/summer-sale.html
File9=old-store.html
CurrentSearchEngine=Modern Web Search (2026)

[Options]
KillTeminatingS=0
SkipShortWords=0
MinWordLength=3
AutoViewHtmlReport=0
