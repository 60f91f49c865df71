Styles[0].Size = 64; // a comment
Styles[0].Name = "main";
Styles[1] = object(Size = 14, Bold = 1, array(1, 2));
using Cfg; 10; 20; using;
x => 5 6; y = 'it'; z = "a\"b"; w = "a//b";
Copy = Styles; a[0][1] = -1.5e3;
